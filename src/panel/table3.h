#pragma once
// The parameter panel `table3`: the small modal window in which the user sets the start values of
// the experiment on show.
//
// Events: the track bar, the edit box and a radio button becoming checked raise their handlers on
// the program's own changes as well as the user's, at once. The combo boxes raise theirs only when
// the user types or picks: every text or item list the panel writes itself goes through
// SetComboText / SetComboItems, which keep the handler quiet.

#include <QDialog>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <cstdint>

#include "lab/track_bar.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;

namespace vlab {

class Ttable3 : public QDialog {
    Q_OBJECT
public:
    explicit Ttable3(QWidget* parent = nullptr);

    QLabel* Label2 = nullptr;  // value at the left end of the slider
    QLabel* Label3 = nullptr;  // value at the right end of the slider
    QLabel* Label1 = nullptr;  // unit or caption of the value
    QLabel* Label4 = nullptr;  // superscript, always hidden
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr;        // OK: disabled by Setting until an item is recognised
    QPushButton* Button2 = nullptr;        // Exit
    QSlider* TrackBar1 = nullptr;          // mirrors Bar; the user's moves go through Bar
    QComboBox* ComboBox1 = nullptr;        // which value the slider sets
    QComboBox* ComboBox2 = nullptr;        // electric field: the charge layout
    QRadioButton* RadioButton1 = nullptr;  // friction: upright block (small contact area)
    QRadioButton* RadioButton2 = nullptr;  // friction: lying block (large contact area)

    TrackBar Bar;  // the model of TrackBar1

    // Panel state.
    int SliderScale = 100;              // slider steps per unit
    int SliderValue = 0;                // last whole value taken from the slider
    QString LastEditText;               // last accepted edit text in decimal-entry mode
    QString SettingSummary;             // the one-line summary built by OK
    std::uint8_t EditDrivesValue = 0;   // 1: the edit text sets the value; 0: the slider does
    std::uint8_t SliderLive = 0;        // 0 while ComboBox1 is being switched
    std::uint8_t EchoSliderToEdit = 1;  // decimal-entry mode: a slider change writes Edit1
    std::uint8_t BackspaceAtPoint = 0;  // Backspace is about to delete the only decimal

    // Handlers.
    void FormActivate();
    void ComboBox1Change();
    void ComboBox2Change();
    void TrackBar1Change();
    void RadioButton1Click();
    void RadioButton2Click();
    // The key filter: returns false (and sets key to 0) for a key that is discarded.
    bool Edit1KeyPress(QChar& key);
    void Edit1Change();
    void Button1Click();
    void Button2Click();

    // The program writes a combo box: no change handler runs.
    void SetComboText(QComboBox* box, const QString& text);
    void SetComboItems(QComboBox* box, const QStringList& items);
    // The user types or picks a whole text in a combo box: its change handler runs, even when the
    // text was already there (picking the shown item again).
    void UserComboText(QComboBox* box, const QString& text);
    // The user types text into Edit1 key by key, through the key filter.
    void UserTypeEdit(const QString& text);

    // The electric field reads and fixes the layout text; setting it raises no change handler.
    QString ChargeLayoutText() const;
    void SetChargeLayoutText(const QString& text);

    // Writes the panel state into a state dump.
    void Describe(QJsonObject& out) const;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // The window manager's close takes the Exit path: its question, then the Exit steps on Yes.
    void reject() override;

private:
    void MirrorBar();
    void SliderMoved(int value);
    void CaretToEnd();
    void PasteIntoEdit();
    void LayoutA();
    // A radio button becoming checked writes its sizes from the panel's description.
    void TakeRadio(int which);
    // Is the combo box's text exactly one of its current items?
    static bool Offers(const QComboBox* box, const QString& item);

    bool programWritesCombo_ = false;
    bool mirroring_ = false;
};

}  // namespace vlab
