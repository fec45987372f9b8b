#include "ui/editor/form_binder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStackedWidget>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>

#include "core/editor/form/advanced_grid.h"
#include "core/editor/form/handlers.h"
#include "ui/editor/up_down_arrows.h"

namespace vyn::ui {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The in-place editor of a grid: only the cells the form lets edit, with their mask ("0" a
// digit) as a validator.
class GridCellEditor : public QStyledItemDelegate {
 public:
  GridCellEditor(const EditorContext& context, std::string grid, QObject* parent)
      : QStyledItemDelegate(parent), context_(context), grid_(std::move(grid)) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override {
    const int row = index.row() + 1;  // row 0 of the form is the header
    if (!UserSelectedCell(context_, grid_, row, index.column())) return nullptr;
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    const std::string mask = CellEditMask(grid_, row, index.column());
    if (auto* line = qobject_cast<QLineEdit*>(editor); line && !mask.empty()) {
      const QRegularExpression digits(QString("[0-9]{0,%1}").arg(mask.size()));
      line->setValidator(new QRegularExpressionValidator(digits, line));
    }
    return editor;
  }

 private:
  const EditorContext& context_;
  std::string grid_;
};

constexpr auto kGridEditTriggers = QAbstractItemView::DoubleClicked |
                                   QAbstractItemView::EditKeyPressed |
                                   QAbstractItemView::AnyKeyPressed;

}  // namespace

QWidget* ControlFactory::Make(std::string_view name) const {
  const Control& control = form_.Get(name);
  QWidget* widget = nullptr;
  switch (control.kind()) {
    case ControlKind::kGroup:
      widget = new QGroupBox;
      break;
    case ControlKind::kLabel:
      widget = new QLabel;
      break;
    case ControlKind::kEdit:
      widget = new QLineEdit;
      break;
    case ControlKind::kCheckBox:
      widget = new QCheckBox;
      break;
    case ControlKind::kComboBox:
      widget = new QComboBox;
      break;
    case ControlKind::kRadioButton:
      widget = new QRadioButton;
      break;
    case ControlKind::kUpDown:
      widget = new UpDownArrows;
      break;
    case ControlKind::kButton:
      if (name.starts_with("bbtn")) {
        // The bitmap buttons carry a picture instead of a caption.
        auto* button = new QToolButton;
        button->setIcon(button->style()->standardIcon(QStyle::SP_MessageBoxInformation));
        widget = button;
      } else {
        widget = new QPushButton;
      }
      break;
    case ControlKind::kGrid: {
      auto* table = new QTableWidget;
      table->verticalHeader()->hide();
      table->setSelectionMode(QAbstractItemView::SingleSelection);
      table->setEditTriggers(QAbstractItemView::NoEditTriggers);
      widget = table;
      break;
    }
  }
  widget->setObjectName(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
  return widget;
}

FormBinder::FormBinder(EditorContext context, QObject* parent)
    : QObject(parent), context_(context) {}

void FormBinder::Bind(QWidget* root) {
  QHash<QString, QWidget*> widgets;
  for (QWidget* widget : root->findChildren<QWidget*>()) {
    if (!widget->objectName().isEmpty()) widgets.insert(widget->objectName(), widget);
  }
  const EditorForm& form = context_.form;
  for (int i = 0; i < form.size(); ++i) {
    const Control& control = form.at(i);
    const auto it = widgets.find(Q(control.name()));
    if (it == widgets.end()) {
      unresolved_.push_back(control.name());
      continue;
    }
    by_name_.emplace(control.name(), bound_.size());
    bound_.push_back({i, it.value()});
    Connect(control, it.value());
  }
  Mirror();
}

template <typename Action>
void FormBinder::UserAction(Action action) {
  if (mirroring_) return;  // the form's own change coming back from a widget
  action();
  Mirror();
}

void FormBinder::Connect(const Control& control, QWidget* widget) {
  const std::string name = control.name();
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    connect(edit, &QLineEdit::textEdited, this, [this, name](const QString& text) {
      UserAction([&] { UserEditedText(context_, name, text.toStdString()); });
    });
    if (control.key_filter() != KeyFilter::kNone) edit->installEventFilter(this);
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    connect(combo, &QComboBox::activated, this, [this, name](int index) {
      UserAction([&] { UserSelectedItem(context_, name, index); });
    });
  } else if (auto* arrows = qobject_cast<UpDownArrows*>(widget)) {
    connect(arrows, &UpDownArrows::stepped, this, [this, name](int steps) {
      UserAction([&] { UserSteppedUpDown(context_, name, steps); });
    });
  } else if (auto* table = qobject_cast<QTableWidget*>(widget)) {
    table->setItemDelegate(new GridCellEditor(context_, name, table));
    connect(table, &QTableWidget::itemChanged, this, [this, name](QTableWidgetItem* item) {
      UserAction([&] {
        UserEditedCell(context_, name, item->row() + 1, item->column(), item->text().toStdString());
      });
    });
    connect(table, &QTableWidget::currentCellChanged, this,
            [this, name, table](int row, int column) {
              const bool editable = UserSelectedCell(context_, name, row + 1, column);
              table->setEditTriggers(editable ? kGridEditTriggers
                                              : QAbstractItemView::NoEditTriggers);
            });
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget);
             button && (control.kind() == ControlKind::kCheckBox ||
                        control.kind() == ControlKind::kRadioButton)) {
    connect(button, &QAbstractButton::clicked, this, [this, name](bool checked) {
      UserAction([&] { UserClickedCheckBox(context_, name, checked); });
    });
  }
}

void FormBinder::Mirror() {
  mirroring_ = true;
  for (Bound& bound : bound_) {
    const Control& control = context_.form.at(bound.control);
    if (control.revision() == bound.shown) continue;
    Show(control, bound.widget);
    bound.shown = control.revision();
  }
  mirroring_ = false;
}

void FormBinder::Show(const Control& control, QWidget* widget) {
  if (widget->isHidden() == control.visible()) widget->setVisible(control.visible());
  if (widget->testAttribute(Qt::WA_Disabled) == control.enabled())
    widget->setEnabled(control.enabled());
  if (widget->toolTip() != Q(control.hint())) widget->setToolTip(Q(control.hint()));

  if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setText(Q(control.caption()));
  } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
    group->setTitle(Q(control.caption()));
  } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    edit->setMaxLength(control.max_length() > 0 ? control.max_length() : 32767);
    if (edit->text() != Q(control.text())) edit->setText(Q(control.text()));
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    const std::vector<ChoiceList::Item>& items = control.list().Items();
    bool same = combo->count() == static_cast<int>(items.size());
    for (int i = 0; same && i < combo->count(); ++i) same = combo->itemText(i) == Q(items[i].text);
    if (!same) {
      combo->clear();
      for (const ChoiceList::Item& item : items) combo->addItem(Q(item.text));
    }
    combo->setMaxVisibleItems(control.drop_down_lines());
    combo->setCurrentIndex(control.item_index());
  } else if (auto* table = qobject_cast<QTableWidget*>(widget)) {
    ShowGrid(control, table);
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    if (!qobject_cast<QToolButton*>(button)) button->setText(Q(control.caption()));
    if (button->isCheckable() && button->isChecked() != control.checked())
      button->setChecked(control.checked());
  }
}

void FormBinder::ShowGrid(const Control& control, QTableWidget* table) {
  const int columns = control.column_count();
  if (table->columnCount() != columns) {
    table->setColumnCount(columns);
    for (int c = 0; c < columns; ++c) {
      if (c < static_cast<int>(control.column_widths().size()))
        table->setColumnWidth(c, control.column_widths()[static_cast<std::size_t>(c)]);
    }
  }
  QStringList headings;
  for (int c = 0; c < columns; ++c) headings << Q(control.cell(0, c));
  table->setHorizontalHeaderLabels(headings);
  const int rows = std::max(0, control.row_count() - 1);
  if (table->rowCount() != rows) table->setRowCount(rows);
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      const QString text = Q(control.cell(r + 1, c));
      QTableWidgetItem* item = table->item(r, c);
      if (!item) {
        item = new QTableWidgetItem(text);
        table->setItem(r, c, item);
      } else if (item->text() != text) {
        item->setText(text);
      }
    }
  }
}

QWidget* FormBinder::Widget(std::string_view name) const {
  const auto it = by_name_.find(name);
  return it == by_name_.end() ? nullptr : bound_[it->second].widget;
}

void FormBinder::Focus(const StoreOutcome& outcome) {
  QWidget* widget = Widget(outcome.control);
  if (!widget) return;
  // Bring the control's page to the front when its tab is shown.
  for (QWidget* page = widget; page && page->parentWidget(); page = page->parentWidget()) {
    auto* stack = qobject_cast<QStackedWidget*>(page->parentWidget());
    auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
    if (!tabs) continue;
    const int index = tabs->indexOf(page);
    if (index >= 0 && tabs->isTabVisible(index)) tabs->setCurrentIndex(index);
    break;
  }
  if (auto* table = qobject_cast<QTableWidget*>(widget); table && outcome.grid_row > 0)
    table->setCurrentCell(outcome.grid_row - 1, kAdvancedValueColumn);
  widget->setFocus();
}

bool FormBinder::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
  const Control* control = context_.form.Find(watched->objectName().toStdString());
  const QString text = static_cast<QKeyEvent*>(event)->text();
  if (!control || text.size() != 1) return false;
  const char16_t c = text.at(0).unicode();
  // Control characters are Qt's editing shortcuts (select all, undo ...), never typed text.
  if (c < 32 || c == 127) return false;
  // A refused character never reaches the box; characters outside ASCII pass no filter.
  const bool accepted = c < 128 && KeyAccepted(control->key_filter(), static_cast<char>(c));
  return !accepted;
}

}  // namespace vyn::ui
