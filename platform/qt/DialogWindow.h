// One program dialog as a Qt window: its controls laid out from the template in dialog
// units, mirroring the dialog's control model both ways. The user's edits, clicks, focus
// changes, keys (Enter, F12, Esc, Tab) and the close box go to the model; the model's
// changes come back through Sync*. Only the model decides what a key does.
#pragma once

#include <vector>

#include <QWidget>

#include "platform/qt/DialogUnits.h"
#include "platform/ui/Dialog.h"

class QCloseEvent;
class QKeyEvent;

namespace platform::qt {

class DialogWindow : public QWidget {
 public:
  explicit DialogWindow(CDialog& dialog);
  ~DialogWindow() override;

  // The dialog is going away: nothing reaches it any more.
  void Detach() { dialog_ = nullptr; }
  CDialog* Dialog() const { return dialog_; }
  // True while one of this window's handlers runs the program's code: the window must
  // outlive that call.
  bool InHandler() const { return handlerDepth_ > 0; }

  // The widget of the first control with this id; none when unknown.
  QWidget* ControlWidget(int id) const;
  const DialogUnits& Units() const { return units_; }

  void SyncAll();
  void SyncControl(int id);
  void SyncCaption();
  // Bars and caption, the parts that change without a report during the work.
  void SyncProgress();
  // The program moved the focus; selectAll selects the whole text of an edit.
  void MoveFocus(int id, bool selectAll);
  // The Qt focus follows the model's focus control when they differ; the selection stays.
  void SyncFocus();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void Build();
  QWidget* MakeControl(std::size_t index);
  void SyncIndex(std::size_t index);
  int IdOf(const QObject* widget) const;
  bool DeliverKey(const QKeyEvent& event);
  void UserEdited(int id, const QString& text);
  void UserClicked(int id);
  // A group box's accelerator: the focus goes to the first control framed by the group.
  void FocusFirstControlIn(QWidget* group);

  CDialog* dialog_;
  DialogUnits units_;
  std::vector<QWidget*> widgets_;  // parallel to the dialog's controls
  bool syncing_ = false;           // a change made here for the model, not by the user
  int handlerDepth_ = 0;
};

}  // namespace platform::qt
