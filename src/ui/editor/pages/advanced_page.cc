#include "ui/editor/pages/advanced_page.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/editor/form/advanced_grid.h"

namespace vyn::ui {

AdvancedPage::AdvancedPage(const EditorPageContext& context, QWidget* parent)
    : EditorPage("tbshtAdvanced", 13108, context, parent) {
  auto* group = Make<QGroupBox>("gbxAdvanced");
  // The line volumes, each caption over its list, beside the grid.
  auto* volumes = new QVBoxLayout;
  for (const char* level : {"1", "2", "3", "Extra"}) {
    volumes->addWidget(Make(std::string("lblLineVolume") + level));
    volumes->addWidget(Make(std::string("cbbxLineVolume") + level));
    volumes->addSpacing(8);
  }
  volumes->addStretch(1);

  auto* grid = Make<QTableWidget>(kAdvancedGrid);
  grid->horizontalHeader()->setStretchLastSection(true);
  grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
  grid->setMinimumWidth(520);

  auto* columns = new QHBoxLayout(group);
  columns->addLayout(volumes, 0);
  columns->addSpacing(12);
  columns->addWidget(grid, 1);
  auto* page = new QVBoxLayout(this);
  page->addWidget(group);
}

}  // namespace vyn::ui
