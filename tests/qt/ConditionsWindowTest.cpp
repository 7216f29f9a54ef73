// The real conditions dialog in real widgets on the offscreen platform, driven by QTest key
// and mouse events: the Enter chain, F12, Esc and the close box, the month edits, parent
// mode and the radio group.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "dialog/ConditionsTemplate.h"
#include "platform/qt/QtFileDialog.h"
#include "tests/qt/QtFixture.h"

namespace velmora::qttest {
namespace {

using platform::qt::DialogWindow;

QLineEdit* Edit(DialogWindow& window, int id) { return qobject_cast<QLineEdit*>(window.ControlWidget(id)); }

// The Qt widget with the focus must be the model's focus control.
void ExpectFocus(DialogWindow& window, int id) {
  // After a message box the window becomes active again through the event loop.
  EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
  EXPECT_EQ(id, window.Dialog()->GetFocusId());
  EXPECT_EQ(window.ControlWidget(id), QApplication::focusWidget())
      << "Qt focus on "
      << (QApplication::focusWidget() ? QApplication::focusWidget()->metaObject()->className() : "none");
}

class QtConditionsWindow : public QtFixture {};

TEST_F(QtConditionsWindow, EnterWalksTheFieldsAndSelectsEachEditsText) {
  auto dialog = Conditions();
  platform::qt::QtFileDialog::SetNextFileName(QString());  // Enter on Browse: the user cancels
  const int result = RunModal(*dialog, [&](DialogWindow& window) {
    ExpectFocus(window, kIdcFirstMonth);
    QTest::keyClick(Edit(window, kIdcFirstMonth), Qt::Key_Return);
    ExpectFocus(window, kIdcLastMonth);
    EXPECT_EQ(Edit(window, kIdcLastMonth)->text(), Edit(window, kIdcLastMonth)->selectedText());
    EXPECT_FALSE(Edit(window, kIdcLastMonth)->text().isEmpty());
    QTest::keyClick(Edit(window, kIdcLastMonth), Qt::Key_Enter, Qt::KeypadModifier);
    ExpectFocus(window, kIdcOutputPath);
    EXPECT_EQ(Edit(window, kIdcOutputPath)->text(), Edit(window, kIdcOutputPath)->selectedText());
    QTest::keyClick(Edit(window, kIdcOutputPath), Qt::Key_Return);
    ExpectFocus(window, kIdcBrowse);
    QTest::keyClick(window.ControlWidget(kIdcBrowse), Qt::Key_Return);
    ExpectFocus(window, kIdcExecute);
    EXPECT_FALSE(window.Dialog()->HasEnded());
    AnswerBoxes({QMessageBox::Ok});
    QTest::keyClick(window.ControlWidget(kIdcExecute), Qt::Key_Escape);
  });
  EXPECT_EQ(kConditionsCancel, result);
}

TEST_F(QtConditionsWindow, ShiftEnterAndTabFollowTheDialogsOwnRules) {
  auto dialog = Conditions();
  RunModal(*dialog, [&](DialogWindow& window) {
    // Enter with Shift is left to the default handling, which has no default button here.
    QTest::keyClick(Edit(window, kIdcFirstMonth), Qt::Key_Return, Qt::ShiftModifier);
    ExpectFocus(window, kIdcFirstMonth);
    EXPECT_FALSE(window.Dialog()->HasEnded());
    // Tab skips the radio buttons (no tab stop) and reaches the check box.
    QTest::keyClick(Edit(window, kIdcFirstMonth), Qt::Key_Tab);
    ExpectFocus(window, kIdcLastMonth);
    QTest::keyClick(Edit(window, kIdcLastMonth), Qt::Key_Tab);
    ExpectFocus(window, kIdcOutputPath);
    QTest::keyClick(Edit(window, kIdcOutputPath), Qt::Key_Tab);
    ExpectFocus(window, kIdcBrowse);
    QTest::keyClick(window.ControlWidget(kIdcBrowse), Qt::Key_Tab);
    ExpectFocus(window, kIdcExecute);
    QTest::keyClick(window.ControlWidget(kIdcExecute), Qt::Key_Tab);
    ExpectFocus(window, kIdcCancel);
    QTest::keyClick(window.ControlWidget(kIdcCancel), Qt::Key_Tab);
    ExpectFocus(window, kIdcGeneralLedger);
    QTest::keyClick(window.ControlWidget(kIdcGeneralLedger), Qt::Key_Backtab, Qt::ShiftModifier);
    ExpectFocus(window, kIdcCancel);
    AnswerBoxes({QMessageBox::Ok});
    window.close();
  });
}

TEST_F(QtConditionsWindow, F12RunsTheChecksFromAnyField) {
  for (const int from : {kIdcFirstMonth, kIdcLastMonth, kIdcOutputPath, kIdcGeneralLedger}) {
    SCOPED_TRACE(from);
    auto dialog = Conditions();
    const int result = RunModal(*dialog, [&](DialogWindow& window) {
      QLineEdit* path = Edit(window, kIdcOutputPath);
      path->selectAll();
      QTest::keyClicks(path, QString::fromStdString(OutputOnC("out.xml")));
      QTest::mouseClick(window.ControlWidget(from), Qt::LeftButton);
      ExpectFocus(window, from);
      QTest::keyClick(window.ControlWidget(from), Qt::Key_F12);
    });
    EXPECT_EQ(kConditionsExecute, result);
    EXPECT_EQ(OutputOnC("out.xml"), dialog->outputPathText);
  }
}

TEST_F(QtConditionsWindow, F12WithABadMonthWarnsAndSelectsThatMonth) {
  auto dialog = Conditions();
  RunModal(*dialog, [&](DialogWindow& window) {
    QLineEdit* last = Edit(window, kIdcLastMonth);
    last->selectAll();
    QTest::keyClicks(last, QStringLiteral("13"));
    AnswerBoxes({QMessageBox::Ok});
    QTest::keyClick(Edit(window, kIdcFirstMonth), Qt::Key_F12);
    ASSERT_EQ(1u, Boxes().size());
    EXPECT_EQ(Utf8("決算書"), Boxes()[0].caption);
    EXPECT_EQ(QMessageBox::Warning, Boxes()[0].icon);
    EXPECT_EQ(QMessageBox::StandardButtons(QMessageBox::Ok), Boxes()[0].buttons);
    EXPECT_EQ(&window, Boxes()[0].parent);
    EXPECT_FALSE(window.Dialog()->HasEnded());
    ExpectFocus(window, kIdcLastMonth);
    EXPECT_EQ(QStringLiteral("13"), last->selectedText());
    AnswerBoxes({QMessageBox::Ok});
    QTest::keyClick(last, Qt::Key_Escape);
  });
}

TEST_F(QtConditionsWindow, EscAndTheCloseBoxCancelWithANotice) {
  for (const bool closeBox : {false, true}) {
    SCOPED_TRACE(closeBox ? "close box" : "Esc");
    auto dialog = Conditions();
    const std::size_t boxesBefore = Boxes().size();
    const int result = RunModal(*dialog, [&](DialogWindow& window) {
      AnswerBoxes({QMessageBox::Ok});
      if (closeBox) {
        window.close();
      } else {
        QTest::keyClick(Edit(window, kIdcFirstMonth), Qt::Key_Escape);
      }
      EXPECT_TRUE(window.isVisible() || window.Dialog()->HasEnded());
    });
    EXPECT_EQ(kConditionsCancel, result);
    ASSERT_EQ(boxesBefore + 1, Boxes().size());
    EXPECT_EQ(QMessageBox::Information, Boxes().back().icon);
    EXPECT_EQ(Utf8("｢決算書｣の集計を中止します。"), Boxes().back().text);
  }
}

TEST_F(QtConditionsWindow, MonthEditsTakeTwoDigitsOnly) {
  auto dialog = Conditions();
  RunModal(*dialog, [&](DialogWindow& window) {
    QLineEdit* first = Edit(window, kIdcFirstMonth);
    first->selectAll();
    QTest::keyClicks(first, QStringLiteral("a1b2c3"));
    EXPECT_EQ(QStringLiteral("12"), first->text());
    EXPECT_EQ("12", window.Dialog()->GetDlgItemText(kIdcFirstMonth));
    EXPECT_EQ(Qt::AlignRight, first->alignment() & Qt::AlignHorizontal_Mask);
    QTest::keyClick(first, Qt::Key_Backspace);
    EXPECT_EQ("1", window.Dialog()->GetDlgItemText(kIdcFirstMonth));
    EXPECT_EQ(255, Edit(window, kIdcOutputPath)->maxLength());
    AnswerBoxes({QMessageBox::Ok});
    QTest::keyClick(first, Qt::Key_Escape);
  });
}

// The edit reached is the model's focus and shows its whole text selected, in the model too.
void ExpectWholeTextSelected(DialogWindow& window, int id) {
  ExpectFocus(window, id);
  QLineEdit* edit = Edit(window, id);
  EXPECT_FALSE(edit->text().isEmpty());
  EXPECT_EQ(edit->text(), edit->selectedText()) << id;
  const platform::ControlState* control = window.Dialog()->Control(id);
  EXPECT_EQ(0, control->selStart);
  EXPECT_EQ(static_cast<int>(control->text.size()), control->selEnd);
}

TEST_F(QtConditionsWindow, TypingReplacesTheTextOfAnEditReachedAtStartOrByKeyboard) {
  auto dialog = Conditions();
  RunModal(*dialog, [&](DialogWindow& window) {
    ExpectWholeTextSelected(window, kIdcFirstMonth);
    QTest::keyClicks(Edit(window, kIdcFirstMonth), QStringLiteral("5"));
    EXPECT_EQ("5", window.Dialog()->GetDlgItemText(kIdcFirstMonth));
    QTest::keyClick(&window, Qt::Key_E, Qt::AltModifier);
    ExpectWholeTextSelected(window, kIdcLastMonth);
    QTest::keyClicks(Edit(window, kIdcLastMonth), QStringLiteral("7"));
    EXPECT_EQ("7", window.Dialog()->GetDlgItemText(kIdcLastMonth));
    QTest::keyClick(Edit(window, kIdcLastMonth), Qt::Key_Tab);
    ExpectWholeTextSelected(window, kIdcOutputPath);
    // A click places the caret and selects nothing, as on Windows.
    QTest::mouseClick(Edit(window, kIdcFirstMonth), Qt::LeftButton);
    ExpectFocus(window, kIdcFirstMonth);
    EXPECT_FALSE(Edit(window, kIdcFirstMonth)->hasSelectedText());
    AnswerBoxes({QMessageBox::Ok});
    QTest::keyClick(Edit(window, kIdcFirstMonth), Qt::Key_Escape);
  });
}

TEST_F(QtConditionsWindow, AcceleratorsReachTheControlsThroughTheModel) {
  auto dialog = Conditions();
  RunModal(*dialog, [&](DialogWindow& window) {
    // A label's accelerator focuses the control after it in the template.
    QTest::keyClick(&window, Qt::Key_E, Qt::AltModifier);
    ExpectFocus(window, kIdcLastMonth);
    QTest::keyClick(&window, Qt::Key_S, Qt::AltModifier);
    ExpectFocus(window, kIdcFirstMonth);
    // A group box's accelerator focuses the first control it frames.
    QTest::keyClick(&window, Qt::Key_O, Qt::AltModifier);
    ExpectWholeTextSelected(window, kIdcOutputPath);
    // An accelerator to the edit that has the focus already selects its text again.
    Edit(window, kIdcOutputPath)->deselect();
    QTest::keyClick(&window, Qt::Key_O, Qt::AltModifier);
    ExpectWholeTextSelected(window, kIdcOutputPath);
    QTest::keyClick(&window, Qt::Key_S, Qt::AltModifier);
    Edit(window, kIdcFirstMonth)->deselect();
    QTest::keyClick(&window, Qt::Key_S, Qt::AltModifier);
    ExpectWholeTextSelected(window, kIdcFirstMonth);
    // A radio button's accelerator clicks it (after the button's short press animation).
    QTest::keyClick(&window, Qt::Key_M, Qt::AltModifier);
    QTest::qWait(300);
    EXPECT_EQ(1, window.Dialog()->IsDlgButtonChecked(kIdcMembersKind));
    EXPECT_EQ(0, window.Dialog()->IsDlgButtonChecked(kIdcShareholdersKind));
    AnswerBoxes({QMessageBox::Ok});
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  });
}

// Pixels that turn dark (by more than half the range) when the widget takes the focus.
int DarkenedPixels(const QImage& unfocused, const QImage& focused, const QRect& where) {
  int count = 0;
  for (int y = where.top(); y <= where.bottom(); ++y) {
    for (int x = where.left(); x <= where.right(); ++x) {
      if (qGray(unfocused.pixel(x, y)) - qGray(focused.pixel(x, y)) > 128) ++count;
    }
  }
  return count;
}

// The keyboard focus as the Windows dialogs draw it: a dotted rectangle just inside the
// button's bevel, and one around the check box's text; half its pixels are drawn.
TEST_F(QtConditionsWindow, TheFocusIsADottedRectangleInsideTheControl) {
  auto dialog = Conditions();
  RunModal(*dialog, [&](DialogWindow& window) {
    QWidget* browse = window.ControlWidget(kIdcBrowse);
    QWidget* ledger = window.ControlWidget(kIdcGeneralLedger);
    const QImage browseBefore = browse->grab().toImage();
    const QImage ledgerBefore = ledger->grab().toImage();
    QTest::keyClick(Edit(window, kIdcFirstMonth), Qt::Key_Return);
    QTest::keyClick(Edit(window, kIdcLastMonth), Qt::Key_Return);
    QTest::keyClick(Edit(window, kIdcOutputPath), Qt::Key_Return);
    ExpectFocus(window, kIdcBrowse);
    const QImage browseFocused = browse->grab().toImage();
    ASSERT_EQ(browseBefore.size(), browseFocused.size());
    const QRect inset =
        QRect(QPoint(0, 0), browseFocused.size() / browseFocused.devicePixelRatio()).adjusted(3, 3, -4, -4);
    const int topAndBottom =
        DarkenedPixels(browseBefore, browseFocused, QRect(inset.topLeft(), QSize(inset.width(), 1))) +
        DarkenedPixels(browseBefore, browseFocused, QRect(inset.bottomLeft(), QSize(inset.width(), 1)));
    const int sides =
        DarkenedPixels(browseBefore, browseFocused, QRect(inset.topLeft(), QSize(1, inset.height()))) +
        DarkenedPixels(browseBefore, browseFocused, QRect(inset.topRight(), QSize(1, inset.height())));
    EXPECT_GE(topAndBottom, inset.width() * 2 / 3) << "of " << 2 * inset.width();
    EXPECT_GE(sides, inset.height() * 2 / 3) << "of " << 2 * inset.height();
    // Nothing else of the button changes: the rectangle is the focus mark.
    EXPECT_LE(DarkenedPixels(browseBefore, browseFocused, inset.adjusted(2, 2, -2, -2)), 0);

    QTest::keyClick(browse, Qt::Key_Tab);
    QTest::keyClick(window.ControlWidget(kIdcExecute), Qt::Key_Tab);
    QTest::keyClick(window.ControlWidget(kIdcCancel), Qt::Key_Tab);
    ExpectFocus(window, kIdcGeneralLedger);
    const QImage ledgerFocused = ledger->grab().toImage();
    const QImage browseLeft = browse->grab().toImage();
    // Around the text: at least its width, on both long sides, in dots.
    EXPECT_GE(DarkenedPixels(ledgerBefore, ledgerFocused, ledgerFocused.rect()), ledger->width() / 2);
    EXPECT_EQ(0, DarkenedPixels(browseBefore, browseLeft, browseLeft.rect()));
    AnswerBoxes({QMessageBox::Ok});
    QTest::keyClick(ledger, Qt::Key_Escape);
  });
}

TEST_F(QtConditionsWindow, ParentModeDisablesThePathAndBrowse) {
  auto dialog = Conditions(OutputOnC("host.xml"));
  RunModal(*dialog, [&](DialogWindow& window) {
    EXPECT_FALSE(window.ControlWidget(kIdcOutputPath)->isEnabled());
    EXPECT_FALSE(window.ControlWidget(kIdcBrowse)->isEnabled());
    EXPECT_TRUE(window.ControlWidget(kIdcExecute)->isEnabled());
    EXPECT_EQ(QString::fromStdString(OutputOnC("host.xml")), Edit(window, kIdcOutputPath)->text());
    // The group box has lost its accelerator with its controls: Alt+O leaves the focus.
    QTest::keyClick(&window, Qt::Key_O, Qt::AltModifier);
    ExpectFocus(window, kIdcFirstMonth);
    // The last month's Enter skips the disabled path and goes to Execute.
    QTest::keyClick(Edit(window, kIdcFirstMonth), Qt::Key_Return);
    QTest::keyClick(Edit(window, kIdcLastMonth), Qt::Key_Return);
    ExpectFocus(window, kIdcExecute);
    AnswerBoxes({QMessageBox::Ok});
    QTest::keyClick(window.ControlWidget(kIdcExecute), Qt::Key_Escape);
  });
}

TEST_F(QtConditionsWindow, RadioClicksAndCheckBoxMirrorTheModel) {
  auto dialog = Conditions();
  RunModal(*dialog, [&](DialogWindow& window) {
    auto* shareholders = qobject_cast<QRadioButton*>(window.ControlWidget(kIdcShareholdersKind));
    auto* members = qobject_cast<QRadioButton*>(window.ControlWidget(kIdcMembersKind));
    auto* ledger = qobject_cast<QCheckBox*>(window.ControlWidget(kIdcGeneralLedger));
    ASSERT_TRUE(shareholders && members && ledger);
    EXPECT_TRUE(shareholders->isChecked());
    EXPECT_EQ(Qt::ClickFocus, members->focusPolicy());
    QTest::mouseClick(members, Qt::LeftButton);
    EXPECT_EQ(1, window.Dialog()->IsDlgButtonChecked(kIdcMembersKind));
    EXPECT_EQ(0, window.Dialog()->IsDlgButtonChecked(kIdcShareholdersKind));
    EXPECT_TRUE(members->isChecked());
    EXPECT_FALSE(shareholders->isChecked());
    // A second click on the checked radio button keeps it checked.
    QTest::mouseClick(members, Qt::LeftButton);
    EXPECT_TRUE(members->isChecked());
    const bool ledgerBefore = ledger->isChecked();
    QTest::mouseClick(ledger, Qt::LeftButton);
    EXPECT_EQ(ledgerBefore ? 0 : 1, window.Dialog()->IsDlgButtonChecked(kIdcGeneralLedger));
    EXPECT_NE(ledgerBefore, ledger->isChecked());
    AnswerBoxes({QMessageBox::Ok});
    QTest::keyClick(ledger, Qt::Key_Escape);
  });
}

}  // namespace
}  // namespace velmora::qttest
