// A program dialog as a Qt window.
#include "platform/qt/DialogWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

#include "platform/qt/FocusFrameStyle.h"
#include "platform/qt/KeyTranslation.h"
#include "platform/qt/QtText.h"

namespace platform::qt {
namespace {

// Without the smooth style a Windows progress bar is drawn in blocks.
constexpr const char* kSegmentedBar =
    "QProgressBar { border: 1px solid #a0a0a0; background: #e6e6e6; padding: 1px; }"
    "QProgressBar::chunk { background: #06b025; width: 6px; margin-right: 2px; }";
constexpr const char* kSmoothBar =
    "QProgressBar { border: 1px solid #a0a0a0; background: #e6e6e6; padding: 1px; }"
    "QProgressBar::chunk { background: #06b025; }";

Qt::WindowFlags FlagsOf(const DialogTemplate& tmpl) {
  Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (tmpl.style & DialogSysMenu) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  // A system-modal window stays above every other window.
  if (tmpl.style & DialogSystemModal) flags |= Qt::WindowStaysOnTopHint;
  return flags;
}

// Counts the handlers of this window that are running the program's code.
class HandlerScope {
 public:
  explicit HandlerScope(int& depth) : depth_(depth) { ++depth_; }
  ~HandlerScope() { --depth_; }
  HandlerScope(const HandlerScope&) = delete;
  HandlerScope& operator=(const HandlerScope&) = delete;

 private:
  int& depth_;
};

bool TakesFocus(ControlKind kind) {
  return kind != ControlKind::Label && kind != ControlKind::GroupBox && kind != ControlKind::ProgressBar;
}

}  // namespace

DialogWindow::DialogWindow(CDialog& dialog) : QWidget(nullptr, FlagsOf(dialog.Template())), dialog_(&dialog) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  setFont(DialogFont(dialog.Template()));
  units_ = UnitsOf(font());
  Build();
  SyncAll();
}

DialogWindow::~DialogWindow() = default;

void DialogWindow::Build() {
  const DialogTemplate& tmpl = dialog_->Template();
  setFixedSize(units_.X(tmpl.width), units_.Y(tmpl.height));
  widgets_.resize(dialog_->Controls().size(), nullptr);
  for (std::size_t i = 0; i < widgets_.size(); ++i) widgets_[i] = MakeControl(i);
  // A label's accelerator moves the focus to the next control of the template, as a
  // Windows static control does.
  for (std::size_t i = 0; i < widgets_.size(); ++i) {
    auto* label = qobject_cast<QLabel*>(widgets_[i]);
    if (!label || !label->text().contains(QLatin1Char('&'))) continue;
    for (std::size_t next = i + 1; next < widgets_.size(); ++next) {
      if (TakesFocus(dialog_->Controls()[next].tmpl.kind)) {
        label->setBuddy(widgets_[next]);
        break;
      }
    }
  }
  // Group boxes frame the controls drawn over them.
  for (QWidget* widget : widgets_) {
    if (qobject_cast<QGroupBox*>(widget)) widget->lower();
  }
  installEventFilter(this);
}

QWidget* DialogWindow::MakeControl(std::size_t index) {
  const ControlTemplate& tmpl = dialog_->Controls()[index].tmpl;
  const int id = tmpl.id;
  const QString text = ToQString(tmpl.text);
  QWidget* widget = nullptr;
  switch (tmpl.kind) {
    case ControlKind::Label: {
      auto* label = new QLabel(text, this);
      Qt::Alignment align = (tmpl.style & StyleAlignRight) ? Qt::AlignRight : Qt::AlignLeft;
      align |= (tmpl.style & StyleCenterV) ? Qt::AlignVCenter : Qt::AlignTop;
      label->setAlignment(align);
      label->setTextFormat(Qt::PlainText);
      widget = label;
      break;
    }
    case ControlKind::Edit: {
      auto* edit = new QLineEdit(this);
      if (tmpl.style & StyleAlignRight) edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
      if (tmpl.style & StyleDigitsOnly) {
        edit->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
      }
      if (tmpl.maxLength > 0) edit->setMaxLength(tmpl.maxLength);
      connect(edit, &QLineEdit::textEdited, this,
              [this, id](const QString& typed) { UserEdited(id, typed); });
      widget = edit;
      break;
    }
    case ControlKind::PushButton: {
      auto* button = new QPushButton(text, this);
      button->setAutoDefault(false);
      button->setDefault((tmpl.style & StyleDefaultButton) != 0);
      connect(button, &QPushButton::clicked, this, [this, id] { UserClicked(id); });
      widget = button;
      break;
    }
    case ControlKind::RadioButton: {
      auto* radio = new QRadioButton(text, this);
      // The model keeps the group exclusive.
      radio->setAutoExclusive(false);
      connect(radio, &QRadioButton::clicked, this, [this, id] { UserClicked(id); });
      widget = radio;
      break;
    }
    case ControlKind::CheckBox: {
      auto* check = new QCheckBox(text, this);
      connect(check, &QCheckBox::clicked, this, [this, id] { UserClicked(id); });
      widget = check;
      break;
    }
    case ControlKind::GroupBox:
      widget = new QGroupBox(text, this);
      break;
    case ControlKind::ProgressBar: {
      auto* bar = new QProgressBar(this);
      bar->setTextVisible(false);
      bar->setStyleSheet(QString::fromLatin1((tmpl.style & StyleSmooth) ? kSmoothBar : kSegmentedBar));
      widget = bar;
      break;
    }
  }
  widget->setGeometry(units_.X(tmpl.x), units_.Y(tmpl.y), units_.X(tmpl.width), units_.Y(tmpl.height));
  if (tmpl.kind == ControlKind::PushButton || tmpl.kind == ControlKind::CheckBox ||
      tmpl.kind == ControlKind::RadioButton) {
    widget->setStyle(FocusFrame());
  }
  if (!TakesFocus(tmpl.kind)) {
    widget->setFocusPolicy(Qt::NoFocus);
  } else {
    // Controls without a tab stop (the radio buttons) are reached by click or accelerator only.
    widget->setFocusPolicy((tmpl.style & StyleTabStop) ? Qt::StrongFocus : Qt::ClickFocus);
  }
  widget->installEventFilter(this);
  return widget;
}

QWidget* DialogWindow::ControlWidget(int id) const {
  if (!dialog_) return nullptr;
  const auto& controls = dialog_->Controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].tmpl.id == id) return widgets_[i];
  }
  return nullptr;
}

int DialogWindow::IdOf(const QObject* widget) const {
  for (std::size_t i = 0; i < widgets_.size(); ++i) {
    if (widgets_[i] == widget) return dialog_->Controls()[i].tmpl.id;
  }
  return IDC_STATIC;
}

void DialogWindow::SyncAll() {
  if (!dialog_) return;
  SyncCaption();
  for (std::size_t i = 0; i < widgets_.size(); ++i) SyncIndex(i);
}

void DialogWindow::SyncCaption() {
  if (!dialog_) return;
  const QString caption = ToQString(dialog_->GetWindowText());
  if (caption != windowTitle()) setWindowTitle(caption);
}

void DialogWindow::SyncControl(int id) {
  if (!dialog_) return;
  const auto& controls = dialog_->Controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].tmpl.id == id) SyncIndex(i);
  }
}

void DialogWindow::SyncIndex(std::size_t index) {
  const ControlState& state = dialog_->Controls()[index];
  QWidget* widget = widgets_[index];
  syncing_ = true;
  if (widget->isEnabled() != state.enabled) widget->setEnabled(state.enabled);
  switch (state.tmpl.kind) {
    case ControlKind::Label:
      static_cast<QLabel*>(widget)->setText(ToQString(state.text));
      break;
    case ControlKind::Edit: {
      auto* edit = static_cast<QLineEdit*>(widget);
      const QString text = ToQString(state.text);
      if (edit->text() != text) edit->setText(text);
      break;
    }
    case ControlKind::PushButton:
      static_cast<QPushButton*>(widget)->setText(ToQString(state.text));
      break;
    case ControlKind::RadioButton:
    case ControlKind::CheckBox: {
      auto* button = static_cast<QAbstractButton*>(widget);
      if (button->text() != ToQString(state.text)) button->setText(ToQString(state.text));
      if (button->isChecked() != (state.checked != 0)) button->setChecked(state.checked != 0);
      break;
    }
    case ControlKind::GroupBox:
      static_cast<QGroupBox*>(widget)->setTitle(ToQString(state.text));
      break;
    case ControlKind::ProgressBar: {
      auto* bar = static_cast<QProgressBar*>(widget);
      if (bar->minimum() != state.rangeLow || bar->maximum() != state.rangeHigh) {
        bar->setRange(state.rangeLow, state.rangeHigh);
      }
      if (bar->value() != state.pos) bar->setValue(state.pos);
      break;
    }
  }
  syncing_ = false;
}

void DialogWindow::SyncProgress() {
  if (!dialog_) return;
  SyncCaption();
  const auto& controls = dialog_->Controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].tmpl.kind == ControlKind::ProgressBar) SyncIndex(i);
  }
}

void DialogWindow::MoveFocus(int id, bool selectAll) {
  QWidget* widget = ControlWidget(id);
  if (!widget) return;
  syncing_ = true;
  widget->setFocus(Qt::OtherFocusReason);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    if (selectAll) {
      edit->selectAll();
    } else {
      edit->deselect();
    }
  }
  syncing_ = false;
}

bool DialogWindow::DeliverKey(const QKeyEvent& event) {
  const std::optional<KeyMessage> key = TranslateKey(event);
  if (!key || !dialog_) return false;
  const HandlerScope scope(handlerDepth_);
  dialog_->UserKey(*key);
  return true;
}

void DialogWindow::UserEdited(int id, const QString& typed) {
  if (syncing_ || !dialog_) return;
  const HandlerScope scope(handlerDepth_);
  dialog_->UserSetText(id, FromQString(typed));
  // The model may keep less than was typed (byte limit, unmappable characters).
  SyncControl(id);
  SyncFocus();
}

void DialogWindow::UserClicked(int id) {
  if (syncing_ || !dialog_) return;
  const HandlerScope scope(handlerDepth_);
  dialog_->UserClick(id);
  // A button the model did not toggle shows its model state again.
  SyncControl(id);
  SyncFocus();
}

void DialogWindow::SyncFocus() {
  if (!dialog_) return;
  QWidget* widget = ControlWidget(dialog_->GetFocusId());
  if (!widget || widget->hasFocus()) return;
  syncing_ = true;
  widget->setFocus(Qt::OtherFocusReason);
  syncing_ = false;
}

bool DialogWindow::eventFilter(QObject* watched, QEvent* event) {
  if (!dialog_) return QWidget::eventFilter(watched, event);
  if (event->type() == QEvent::Shortcut && qobject_cast<QGroupBox*>(watched)) {
    // Qt looks for the group's controls among its children; here they are its siblings.
    FocusFirstControlIn(static_cast<QWidget*>(watched));
    return true;
  }
  if (event->type() == QEvent::Shortcut) {
    // A label's accelerator to the edit that has the focus already moves nothing, so no focus
    // event follows; the accelerator still selects the edit's text, as on Windows.
    auto* label = qobject_cast<QLabel*>(watched);
    auto* edit = label ? qobject_cast<QLineEdit*>(label->buddy()) : nullptr;
    if (edit && edit->hasFocus()) {
      const int id = IdOf(edit);
      if (id != IDC_STATIC && dialog_->UserFocus(id, true)) edit->selectAll();
      return true;
    }
  }
  if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
    const auto& key = static_cast<const QKeyEvent&>(*event);
    if (!TranslateKey(key)) return QWidget::eventFilter(watched, event);
    // Taking the override keeps Qt's own shortcuts away from the dialog keys.
    if (event->type() == QEvent::ShortcutOverride) {
      event->accept();
      return true;
    }
    return DeliverKey(key);
  }
  if (event->type() == QEvent::FocusIn && !syncing_ && watched != this) {
    const int id = IdOf(watched);
    const Qt::FocusReason reason = static_cast<const QFocusEvent&>(*event).reason();
    if (reason == Qt::MouseFocusReason || reason == Qt::ShortcutFocusReason) {
      const bool byKeyboard = reason == Qt::ShortcutFocusReason;
      if (id != IDC_STATIC && dialog_->UserFocus(id, byKeyboard) && byKeyboard) {
        // An edit reached by its accelerator shows its whole text selected, as the model has it.
        if (auto* edit = qobject_cast<QLineEdit*>(watched)) edit->selectAll();
      }
    } else if (id != dialog_->GetFocusId()) {
      // Qt gives the focus back where it was before a message box; the program may have
      // moved it meanwhile, and the model's focus wins.
      QMetaObject::invokeMethod(
          this, [this] { SyncFocus(); }, Qt::QueuedConnection);
    }
  }
  return QWidget::eventFilter(watched, event);
}

void DialogWindow::FocusFirstControlIn(QWidget* group) {
  const auto& controls = dialog_->Controls();
  std::size_t index = 0;
  while (index < widgets_.size() && widgets_[index] != group) ++index;
  const QRect frame = group->geometry();
  // The first control after the group box in the template that stands inside its frame and
  // can take the focus now, as the dialog manager walks the controls.
  for (std::size_t next = index + 1; next < widgets_.size(); ++next) {
    const ControlState& control = controls[next];
    if (!TakesFocus(control.tmpl.kind) || !control.enabled) continue;
    if (!frame.contains(widgets_[next]->geometry())) continue;
    auto* edit = qobject_cast<QLineEdit*>(widgets_[next]);
    if (edit && edit->hasFocus()) {
      // No focus event follows; the accelerator still selects the text.
      if (dialog_->UserFocus(control.tmpl.id, true)) edit->selectAll();
      return;
    }
    widgets_[next]->setFocus(Qt::ShortcutFocusReason);
    return;
  }
}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
  if (!DeliverKey(*event)) QWidget::keyPressEvent(event);
}

void DialogWindow::closeEvent(QCloseEvent* event) {
  // The close box is the cancel command; only the model ends the dialog.
  event->ignore();
  const HandlerScope scope(handlerDepth_);
  if (dialog_) dialog_->UserClose();
}

}  // namespace platform::qt
