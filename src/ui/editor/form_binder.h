#pragma once

// The view side of the editor's form: the widget of each control, made by its kind and named
// after it, and the one binder that mirrors the form into the widgets and the user's input
// back into the form, where the control's handler runs. No conversion or rule lives here.

#include <QLabel>
#include <QObject>
#include <QWidget>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/editor/form/binding.h"

class QTableWidget;

namespace vyn::ui {

// Makes the widget of a form control: the kind decides the widget class, the control's name
// becomes its object name. The page layouts place what it makes.
class ControlFactory {
 public:
  explicit ControlFactory(const EditorForm& form) : form_(form) {}

  QWidget* Make(std::string_view name) const;
  template <typename T>
  T* Make(std::string_view name) const {
    return static_cast<T*>(Make(name));
  }

 private:
  const EditorForm& form_;
};

class FormBinder : public QObject {
  Q_OBJECT

 public:
  FormBinder(EditorContext context, QObject* parent = nullptr);

  // Finds the widget of every control of the form below `root` by its object name, connects
  // the user's input and shows the form.
  void Bind(QWidget* root);
  // The controls of the form for which `root` has no widget (a layout that lost one).
  const std::vector<std::string>& Unresolved() const { return unresolved_; }

  // Shows every change of the form since the last call.
  void Mirror();
  // The widget of a control; nullptr when it has none.
  QWidget* Widget(std::string_view name) const;
  // Puts the keyboard focus on the control of a failed store (and on its grid cell).
  void Focus(const StoreOutcome& outcome);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Bound {
    int control;
    QWidget* widget;
    std::uint64_t shown = ~std::uint64_t{0};
  };
  void Connect(const Control& control, QWidget* widget);
  void Show(const Control& control, QWidget* widget);
  void ShowGrid(const Control& control, QTableWidget* table);
  // Runs a user action on the form and shows what it changed.
  template <typename Action>
  void UserAction(Action action);

  EditorContext context_;
  std::vector<Bound> bound_;
  std::unordered_map<std::string, std::size_t, NameHash, std::equal_to<>> by_name_;
  std::vector<std::string> unresolved_;
  bool mirroring_ = false;
};

}  // namespace vyn::ui
