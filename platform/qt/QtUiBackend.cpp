// The Qt backend object.
#include "platform/qt/QtUiBackend.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

#include "platform/qt/DialogWindow.h"
#include "platform/qt/FocusFrameStyle.h"
#include "platform/qt/QtFileDialog.h"
#include "platform/qt/QtText.h"
#include "platform/ui/Dialog.h"

namespace platform::qt {
namespace {

QMessageBox::Icon IconOf(unsigned type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONEXCLAMATION:
      return QMessageBox::Warning;
    case MB_ICONQUESTION:
      return QMessageBox::Question;
    case MB_ICONINFORMATION:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

}  // namespace

QtUiBackend::QtUiBackend(std::unique_ptr<QApplication> application) : application_(std::move(application)) {
  InstallFontSubstitutions();
  translator_ = std::make_unique<QTranslator>();
  if (translator_->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(translator_.get());
  } else {
    translator_.reset();
  }
}

QtUiBackend::~QtUiBackend() {
  for (auto& [dialog, window] : windows_) {
    window->Detach();
    delete window;
  }
  windows_.clear();
  while (cursorDepth_ > 0) {
    QApplication::restoreOverrideCursor();
    --cursorDepth_;
  }
  if (translator_) QCoreApplication::removeTranslator(translator_.get());
}

DialogWindow* QtUiBackend::WindowOf(const CDialog& dialog) const {
  const auto found = windows_.find(&dialog);
  return found == windows_.end() ? nullptr : found->second;
}

DialogWindow* QtUiBackend::WindowOfHandle(HWND hwnd) const {
  const CDialog* dialog = FindProgramWindow(hwnd);
  return dialog ? WindowOf(*dialog) : nullptr;
}

DialogWindow* QtUiBackend::EnsureWindow(CDialog& dialog) {
  if (DialogWindow* window = WindowOf(dialog)) return window;
  auto* window = new DialogWindow(dialog);
  windows_[&dialog] = window;
  return window;
}

void QtUiBackend::DialogInitialised(CDialog& dialog) {
  DialogWindow* window = EnsureWindow(dialog);
  window->SyncAll();
  if (dialog.GetFocusId() != 0) {
    const ControlState* focused = dialog.Control(dialog.GetFocusId());
    const bool selectAll = focused && focused->selStart == 0 && focused->selEnd > 0 &&
                           focused->selEnd == static_cast<int>(focused->text.size());
    window->MoveFocus(dialog.GetFocusId(), selectAll);
  }
}

void QtUiBackend::RunModal(CDialog& dialog) {
  ShowModels();
  DialogWindow* window = EnsureWindow(dialog);
  window->setWindowModality(Qt::ApplicationModal);
  window->show();
  window->raise();
  window->activateWindow();
  window->SyncFocus();
  // Only the dialog's own logic ends it; the user's events run it until then.
  while (!dialog.HasEnded()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  window->hide();
  window->setWindowModality(Qt::NonModal);
}

int QtUiBackend::MessageBox(HWND owner, const std::string& text, const std::string& caption, unsigned type) {
  // The run waits for the user from here on: what stands behind the box is the model's state.
  ShowModels();
  const bool yesNo = (type & MB_BUTTONMASK) == MB_YESNO;
  QMessageBox box(IconOf(type), ToQString(caption), ToQString(text),
                  yesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok, WindowOfHandle(owner));
  box.setFont(QFont(QStringLiteral("IPAPGothic")));
  // Its buttons show the focus as the dialogs' do.
  for (QAbstractButton* button : box.buttons()) button->setStyle(FocusFrame());
  // The box shows the arrow while a wait cursor is up; the program restores its cursor after.
  if (cursorDepth_ > 0) QApplication::setOverrideCursor(Qt::ArrowCursor);
  const int answer = box.exec();
  if (cursorDepth_ > 0) QApplication::restoreOverrideCursor();
  ReturnActivation(box.parentWidget());
  if (!yesNo) return IDOK;
  return answer == QMessageBox::Yes ? IDYES : IDNO;
}

SaveFileAnswer QtUiBackend::SaveFileDialog(const FileDialogRequest& request, std::string& chosenPath) {
  ShowModels();
  DialogWindow* owner = WindowOfHandle(request.owner);
  const SaveFileAnswer answer = QtFileDialog::Save(request, owner, chosenPath);
  ReturnActivation(owner);
  return answer;
}

void QtUiBackend::ReturnActivation(QWidget* owner) {
  // A closed box gives the activation back to its owner, as Windows does, whatever the
  // window manager decides; the owner's focus control gets the keys again.
  if (owner && owner->isVisible()) owner->activateWindow();
}

void QtUiBackend::WindowShown(CDialog& dialog, bool show) {
  DialogWindow* window = EnsureWindow(dialog);
  window->setVisible(show);
  if (show) {
    window->SyncAll();
    throttle_.Reset();
  }
}

void QtUiBackend::WindowDestroyed(CDialog& dialog) {
  const auto found = windows_.find(&dialog);
  if (found == windows_.end()) return;
  DialogWindow* window = found->second;
  windows_.erase(found);
  if (lastRepainted_ == &dialog) {
    lastRepainted_ = nullptr;
    lastRepaintedWindow_ = nullptr;
  }
  window->Detach();
  window->hide();
  if (window->InHandler()) {
    window->deleteLater();
  } else {
    delete window;
  }
}

void QtUiBackend::CaptionChanged(CDialog& dialog) {
  // The progress caption changes on whole per cents only: each change shows the bars with
  // it at once, so that the caption never runs ahead of the bar between throttled repaints.
  if (DialogWindow* window = WindowOf(dialog)) ShowModel(*window);
}

void QtUiBackend::ShowModel(DialogWindow& window) {
  window.SyncProgress();
  // Painted at once; the window system's events wait for the next throttled repaint.
  if (window.isVisible()) window.repaint();
}

void QtUiBackend::ShowModels() {
  bool anyVisible = false;
  for (auto& [dialog, window] : windows_) {
    window->SyncProgress();
    anyVisible = anyVisible || window->isVisible();
  }
  if (!anyVisible) return;
  // The map is walked again after the events, which may have ended windows.
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  for (auto& [dialog, window] : windows_) {
    if (window->isVisible()) window->repaint();
  }
}

void QtUiBackend::RunEnded(int) {
  // The last state stays on the screen for as long as the process takes to end.
  ShowModels();
}

void QtUiBackend::ControlChanged(CDialog& dialog, int id) {
  if (DialogWindow* window = WindowOf(dialog)) window->SyncControl(id);
}

void QtUiBackend::FocusMoved(CDialog& dialog, int id, bool selectAll) {
  if (DialogWindow* window = WindowOf(dialog)) window->MoveFocus(id, selectAll);
}

void QtUiBackend::Repaint(CDialog& dialog) {
  if (!throttle_.Due()) return;
  if (&dialog != lastRepainted_) {
    lastRepainted_ = &dialog;
    lastRepaintedWindow_ = WindowOf(dialog);
  }
  DialogWindow* window = lastRepaintedWindow_;
  if (!window) return;
  ++realRepaints_;
  window->SyncProgress();
  if (raisePending_) {
    // The program keeps its window in front on every step; only a window that lost the
    // front needs the window system's help.
    if (window->isVisible() && !window->isActiveWindow()) {
      window->raise();
      window->activateWindow();
    }
    raisePending_ = false;
  }
  // No user input while the program works: the program has no message loop of its own then.
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  if (window->isVisible()) window->repaint();
}

void QtUiBackend::ZOrder(CDialog&, bool) {
  // Called on every progress step: remembered, acted on at the next real repaint.
  raisePending_ = true;
}

void QtUiBackend::ParentChanged(CDialog& dialog, HWND parent) {
  DialogWindow* window = WindowOf(dialog);
  if (!window) return;
  // A host window is no Qt widget: under a host the window stays top-level.
  QWidget* parentWidget = WindowOfHandle(parent);
  const bool visible = window->isVisible();
  window->setParent(parentWidget, window->windowFlags());
  if (visible) window->show();
}

void QtUiBackend::WaitCursor(int depth) {
  ShowModels();
  while (cursorDepth_ < depth) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++cursorDepth_;
  }
  while (cursorDepth_ > depth) {
    QApplication::restoreOverrideCursor();
    --cursorDepth_;
  }
}

}  // namespace platform::qt
