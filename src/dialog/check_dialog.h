#pragma once
// The yes/no confirmation dialog `check`. A caller clears Memo1, adds its question, runs the dialog
// modally and reads ConfirmAnswer when it has closed.

#include <QDialog>
#include <QStringList>

class QPlainTextEdit;
class QPushButton;
class QFrame;

namespace vlab {

class Tcheck : public QDialog {
    Q_OBJECT
public:
    explicit Tcheck(QWidget* parent = nullptr);

    QFrame* Panel1 = nullptr;
    QFrame* Panel2 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QFrame* Panel3 = nullptr;
    QPushButton* BitBtn1 = nullptr;  // Yes
    QPushButton* BitBtn2 = nullptr;  // No

    void BitBtn1Click();
    void BitBtn2Click();

    // Leaving the dialog any other way (Escape) answers No.
    void reject() override;
};

// The one dialog of the lab, made at start-up with the other windows.
extern Tcheck* check;

// Clears the dialog's memo, writes the lines, shows it modally and returns ConfirmAnswer == 1.
bool AskConfirmation(const QStringList& lines);

}  // namespace vlab
