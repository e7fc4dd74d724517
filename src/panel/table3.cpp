#include "panel/table3.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QFont>
#include <QJsonValue>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QSlider>

#include "dialog/accessible.h"
#include "dialog/check_dialog.h"
#include "dialog/widget_colours.h"
#include "dialog/widget_scale.h"
#include "draw/figures.h"
#include "draw/fonts.h"
#include "draw/numeric.h"
#include "lab/lab_host.h"
#include "lab/lab_state.h"
#include "registry/registry.h"

namespace vlab {

namespace {

// The radio buttons' captions (friction's contact face).
const QString kUpright = QStringLiteral("直立(较小)");
const QString kLying = QStringLiteral("横卧(较大)");

// The panel of the experiment on show, or null.
const PanelDescription* Description() {
    const Experiment* e = FindExperiment(ExperimentCode);
    return e ? e->panel : nullptr;
}

// "0" to "9", "." and "-": the characters a value can be written with.
bool IsValueChar(QChar c) { return (c >= u'0' && c <= u'9') || c == u'.' || c == u'-'; }

const QChar kBackspace(8);

void SetWindowColour(QWidget* w, const QColor& c) { PaintRole(w, QPalette::Window, c); }

// Labels take the window-text colour, radio buttons the button-text one.
void SetTextColour(QWidget* w, const QColor& c) {
    PaintRole(w, QPalette::WindowText, c);
    PaintRole(w, QPalette::ButtonText, c);
}

// Labels size themselves to their text. The panel's places below are those of its normal size;
// shown larger, the panel puts its widgets where its scale takes them.
void SetLabel(QLabel* label, const QString& text) {
    label->setText(text);
    AdjustSizeAtScale(label);
}

void MoveLeft(QWidget* w, int left) { MoveAtScale(w, QPoint(left, NormalGeometry(w).y())); }
void MoveTop(QWidget* w, int top) { MoveAtScale(w, QPoint(NormalGeometry(w).x(), top)); }
void Place(QWidget* w, int x, int y, int width, int height) { PlaceAtScale(w, QRect(x, y, width, height)); }
int NormalHeight(const QWidget* w) { return NormalGeometry(w).height(); }

// A value is written with at most one ".", at most one "-", and a "-" only in front.
bool WellFormed(const QString& text) {
    if (text.count(u'.') > 1 || text.count(u'-') > 1) return false;
    const qsizetype minus = text.indexOf(u'-');
    return minus <= 0;
}

}  // namespace

Ttable3::Ttable3(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("table3"));
    setModal(true);
    setFixedSize(196, 64);
    setFont(SongFont(12));
    // The resource colour; activation always paints over it.
    SetWindowColour(this, QColor(0x00, 0xFF, 0xFF));

    const QColor red(0xFF, 0x00, 0x00);
    Label2 = new QLabel(QStringLiteral("0"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->move(0, 5);
    Label2->setFont(SongFont(11, true));
    SetTextColour(Label2, red);
    Label2->adjustSize();

    Label3 = new QLabel(QStringLiteral("600"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->move(112, 5);
    Label3->setFont(SongFont(11, true));
    SetTextColour(Label3, red);
    Label3->adjustSize();

    Label1 = new QLabel(QStringLiteral("加速度(m/s )"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(6, 48);
    Label1->setFont(SongFont(13));
    Label1->adjustSize();

    Label4 = new QLabel(QStringLiteral("2"), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->move(72, 44);
    Label4->setFont(SongFont(8, true));
    Label4->adjustSize();

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(82, 42, 44, 20);
    Edit1->setFont(SongFont(12));
    // Everything typed goes through the key filter: no input method, no drops, no context menu
    // (whose paste would bypass it); the paste keys are filtered in eventFilter.
    Edit1->setAttribute(Qt::WA_InputMethodEnabled, false);
    Edit1->setAcceptDrops(false);
    Edit1->setContextMenuPolicy(Qt::NoContextMenu);
    Edit1->installEventFilter(this);
    connect(Edit1, &QLineEdit::textChanged, this, [this] { Edit1Change(); });

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(134, 30, 60, 15);
    Button1->setFont(SongFont(12, true));
    Button1->setAutoDefault(false);
    Button1->hide();
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });

    Button2 = new QPushButton(QStringLiteral("Exit"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(134, 48, 60, 15);
    Button2->setFont(SongFont(12, true));
    Button2->setAutoDefault(false);
    Button2->hide();
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });

    TrackBar1 = new QSlider(Qt::Horizontal, this);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setGeometry(0, 16, 130, 25);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    TrackBar1->setPageStep(1);
    Bar.OnMirror = [this] { MirrorBar(); };
    Bar.OnChange = [this] { TrackBar1Change(); };
    Bar.SetMin(0);
    Bar.SetMax(6000);
    Bar.SetPosition(0);
    Bar.SetFrequency(300);
    // The user's moves (drag, keys, wheel) reach the model; the model's changes come back as a
    // mirror, which SliderMoved ignores.
    connect(TrackBar1, &QSlider::valueChanged, this, [this](int value) { SliderMoved(value); });

    auto makeCombo = [this](const char* name) {
        auto* box = new QComboBox(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        // No completion: the text compared is exactly what the user typed.
        box->setCompleter(nullptr);
        box->setGeometry(134, 6, 60, 20);
        return box;
    };
    ComboBox1 = makeCombo("ComboBox1");
    ComboBox2 = makeCombo("ComboBox2");
    connect(ComboBox1, &QComboBox::editTextChanged, this, [this] {
        if (!programWritesCombo_) ComboBox1Change();
    });
    connect(ComboBox2, &QComboBox::editTextChanged, this, [this] {
        if (!programWritesCombo_) ComboBox2Change();
    });

    const QColor green(0x00, 0x80, 0x00);
    RadioButton1 = new QRadioButton(kUpright, this);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->setGeometry(8, 0, 89, 17);
    SetTextColour(RadioButton1, green);
    RadioButton1->hide();
    RadioButton2 = new QRadioButton(kLying, this);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    RadioButton2->setGeometry(8, 0, 105, 17);
    SetTextColour(RadioButton2, green);
    RadioButton2->hide();
    // Becoming checked, by a click or by the program, runs the click action; a click on the
    // button that is already checked does not.
    connect(RadioButton1, &QRadioButton::toggled, this, [this](bool on) {
        if (on) RadioButton1Click();
    });
    connect(RadioButton2, &QRadioButton::toggled, this, [this](bool on) {
        if (on) RadioButton2Click();
    });

    SetAccessible(this, QStringLiteral("参数设置"), QStringLiteral("设置实验的初始值"));
    SetAccessible(ComboBox1, QStringLiteral("设置项目"), QStringLiteral("选择或键入要设置的量"));
    SetAccessible(ComboBox2, QStringLiteral("电荷分布"), QStringLiteral("选择电荷的分布"));
    SetAccessible(TrackBar1, QStringLiteral("数值"), QStringLiteral("拖动设置所选的量的数值"));
    SetAccessible(Edit1, QStringLiteral("数值"), QStringLiteral("键入所选的量的数值"));
    SetAccessible(Button1, QString(), QStringLiteral("确认设置的数值"));
    SetAccessible(Button2, QString(), QStringLiteral("放弃设置，关闭面板"));
    SetAccessible(RadioButton1, QString(), QStringLiteral("木块直立，接触面积较小"));
    SetAccessible(RadioButton2, QString(), QStringLiteral("木块横卧，接触面积较大"));
}

// ---------------------------------------------------------------------------------------------
// Activation

void Ttable3::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;  // the window system re-showing it is not a new showing
    FormActivate();
    // Centred over the main window (over the screen while there is none).
    QRect over;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != this && w->objectName() == QStringLiteral("Main")) over = w->frameGeometry();
    }
    if (over.isEmpty() && screen()) over = screen()->availableGeometry();
    if (!over.isEmpty()) move(over.center() - QPoint(width() / 2, height() / 2));
}

void Ttable3::keyPressEvent(QKeyEvent* event) {
    // The panel is left only through OK or Exit and their confirmation, never by Escape.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Ttable3::LayoutA() {
    FixSizeAtScale(this, QSize(196, 64));
    MoveTop(Button1, 30);
    MoveTop(Button2, 48);
    Place(ComboBox1, 134, 6, 60, NormalHeight(ComboBox1));
}

void Ttable3::FormActivate() {
    SetWindowColour(this, QColor(0xFB, 0xC9, 0xC2));
    SetComboText(ComboBox1, QString());
    SetComboText(ComboBox2, QString());

    Button1->show();
    Button2->show();
    RadioButton1->hide();
    RadioButton2->hide();
    ComboBox2->hide();
    ComboBox1->setEnabled(true);
    Edit1->show();
    Edit1->setEnabled(false);
    TrackBar1->show();
    TrackBar1->setEnabled(false);

    SliderScale = 100;
    EditDrivesValue = 1;

    Bar.SetMax(60000);
    Bar.SetMin(0);
    Bar.SetPosition(0);
    Bar.SetFrequency(300);

    Label4->hide();
    SetLabel(Label2, QString());
    SetLabel(Label3, QString());
    MoveLeft(Label3, 112);
    SetLabel(Label1, QStringLiteral("设定初始值"));
    Edit1->setText(QString());

    if (const PanelDescription* panel = Description()) {
        if (panel->firstRadioWhenOpened && panel->firstRadioWhenOpened()) RadioButton1->setChecked(true);
        if (panel->sliderFromStart) EditDrivesValue = 0;
        switch (panel->shape) {
            case PanelDescription::Shape::Slider: LayoutA(); break;
            case PanelDescription::Shape::Layouts: {
                ComboBox2->show();
                FixSizeAtScale(this, QSize(196, 92));
                MoveTop(Button1, 14);
                MoveTop(Button2, 40);
                Place(ComboBox1, 118, 70, 75, NormalHeight(ComboBox1));
                Place(ComboBox2, 8, 70, 100, 19);
                QStringList layouts;
                for (const PanelLayout& layout : panel->layouts) layouts << layout.text;
                SetComboItems(ComboBox2, layouts);
                SetComboText(ComboBox2, panel->layoutPrompt);
                Bar.SetMax(100);
                Bar.SetMin(-100);
                Bar.SetPosition(0);
                break;
            }
            case PanelDescription::Shape::Choice:
                Edit1->hide();
                TrackBar1->hide();
                Place(ComboBox1, 10, 14, 120, NormalHeight(ComboBox1));
                MoveTop(Button1, 6);
                MoveTop(Button2, 26);
                FixSizeAtScale(this, QSize(196, 46));
                SetLabel(Label1, QString());
                break;
        }
        QStringList items;
        if (panel->offered) {
            items = panel->offered();
        } else {
            for (const PanelItem& item : panel->items) items << item.text;
        }
        SetComboItems(ComboBox1, items);
        SetComboText(ComboBox1, panel->prompt);
    }

    Label4->hide();
    Bar.SetFrequency(Bar.Max() / 10);
}

// ---------------------------------------------------------------------------------------------
// The combo boxes

bool Ttable3::Offers(const QComboBox* box, const QString& item) {
    return box->currentText() == item && box->findText(item, Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0;
}

void Ttable3::SetComboText(QComboBox* box, const QString& text) {
    const bool was = programWritesCombo_;
    programWritesCombo_ = true;
    box->setEditText(text);
    programWritesCombo_ = was;
}

void Ttable3::SetComboItems(QComboBox* box, const QStringList& items) {
    const bool was = programWritesCombo_;
    programWritesCombo_ = true;
    // Changing the list leaves the shown text alone (Qt would show the first item otherwise).
    const QString text = box->currentText();
    box->clear();
    box->addItems(items);
    box->setCurrentIndex(-1);
    box->setEditText(text);
    programWritesCombo_ = was;
}

void Ttable3::UserComboText(QComboBox* box, const QString& text) {
    if (box->currentText() != text) {
        box->setEditText(text);  // raises the change handler through editTextChanged
        return;
    }
    if (box == ComboBox1) ComboBox1Change();
    if (box == ComboBox2) ComboBox2Change();
}

QString Ttable3::ChargeLayoutText() const { return ComboBox2->currentText(); }

void Ttable3::SetChargeLayoutText(const QString& text) { SetComboText(ComboBox2, text); }

void Ttable3::ComboBox1Change() {
    SliderLive = 0;
    Bar.SetMin(0);
    Bar.SetMax(0);  // forces the position to 0
    Edit1->setEnabled(true);
    TrackBar1->setEnabled(true);

    // A range is set maximum first: from 0..0 a positive minimum would be ignored.
    auto setRange = [this](int minimum, int maximum) {
        Bar.SetMax(maximum);
        Bar.SetMin(minimum);
    };
    // Shows the chosen value and puts the slider on it; the slider's change stores it again.
    auto showValue = [this](double value) {
        Edit1->setText(ShortestText(value));
        Bar.SetPosition(TruncToInt(value * 100));
    };

    auto showRange = [this, &setRange](const PanelRange& range, bool slider) {
        if (slider) setRange(range.minimum, range.maximum);
        SetLabel(Label1, range.unit);
        SetLabel(Label2, range.left);
        SetLabel(Label3, range.right);
        MoveLeft(Label3, range.rightX);
        SliderLive = 1;
    };

    bool recognised = false;
    if (const PanelDescription* panel = Description()) {
        if (panel->unitArrowSteps) Bar.SetLineSize(100);  // an arrow key moves one unit
        if (panel->pickTurnsOffEdit) {
            EditDrivesValue = 0;
            Edit1->setEnabled(false);
            TrackBar1->setEnabled(true);
        }
        // Some panels show one range for every item, whether the text is one of them or not.
        if (panel->everyPick) showRange(*panel->everyPick, true);
        for (const PanelItem& item : panel->items) {
            if (!Offers(ComboBox1, item.text)) continue;
            recognised = true;
            if (item.radios) {
                Edit1->hide();
                TrackBar1->hide();
                MoveAtScale(RadioButton1, QPoint(24, 6));
                MoveAtScale(RadioButton2, QPoint(24, 26));
                RadioButton1->show();
                RadioButton2->show();
                showRange(item.range, false);
            } else if (item.value || item.count) {
                Edit1->show();
                TrackBar1->show();
                RadioButton1->hide();
                RadioButton2->hide();
                if (!panel->everyPick) showRange(item.range, true);
                if (item.value) {
                    showValue(*item.value);
                } else {
                    Edit1->setText(QString::number(*item.count));
                    Bar.SetPosition(*item.count * 100);
                }
            } else if (panel->choiceTarget) {
                *panel->choiceTarget = item.choice;
            }
        }
    }

    Bar.SetFrequency((Bar.Max() - Bar.Min()) / 10);
    if (recognised) Button1->setEnabled(true);
}

void Ttable3::ComboBox2Change() {
    const PanelDescription* panel = Description();
    if (!panel || panel->layouts.empty()) return;
    for (const PanelLayout& layout : panel->layouts) {
        if (!Offers(ComboBox2, layout.text)) continue;
        QStringList items;
        for (int i = 0; i < layout.size; ++i) items << panel->items[i].text;
        SetComboItems(ComboBox1, items);
        for (int i = 0; i < panel->layoutSlotCount; ++i) panel->layoutSlots[i] = i < layout.size ? 1 : 0;
    }
    SetComboText(ComboBox1, panel->prompt);
    Bar.SetPosition(panel->layoutSlots[0] * 100);
}

// ---------------------------------------------------------------------------------------------
// The slider

void Ttable3::MirrorBar() {
    mirroring_ = true;
    TrackBar1->setRange(Bar.Min(), Bar.Max());
    TrackBar1->setValue(Bar.Position());
    TrackBar1->setTickInterval(Bar.Frequency());
    TrackBar1->setSingleStep(Bar.LineSize());
    mirroring_ = false;
}

void Ttable3::SliderMoved(int value) {
    if (mirroring_) return;
    Bar.SetPosition(value);
    MirrorBar();  // the model may have refused the move
}

void Ttable3::TrackBar1Change() {
    if (SliderLive == 0) return;
    if (EditDrivesValue == 0) {
        const PanelDescription* panel = Description();
        const bool writesValues =
            panel && std::any_of(panel->items.begin(), panel->items.end(),
                                 [](const PanelItem& item) { return item.value || item.count; });
        if (writesValues) {
            SliderValue = TruncToInt(RoundTo(Bar.Position() * 0.01, 0));
            Edit1->setText(QString::number(SliderValue));
            for (const PanelItem& item : panel->items) {
                if (!Offers(ComboBox1, item.text)) continue;
                if (item.value) *item.value = SliderValue;
                if (item.count) *item.count = SliderValue;
            }
        }
    } else if (EchoSliderToEdit == 1) {
        Edit1->setText(ShortestText(static_cast<double>(Bar.Position()) / SliderScale));
    }
    EchoSliderToEdit = 1;
}

// ---------------------------------------------------------------------------------------------
// The radio buttons

void Ttable3::RadioButton1Click() { TakeRadio(0); }

void Ttable3::RadioButton2Click() { TakeRadio(1); }

void Ttable3::TakeRadio(int which) {
    const PanelDescription* panel = Description();
    if (!panel || !panel->radioHeight) return;
    *panel->radioHeight = panel->radioSizes[which].height;
    *panel->radioWidth = panel->radioSizes[which].width;
}

// ---------------------------------------------------------------------------------------------
// The edit box

bool Ttable3::Edit1KeyPress(QChar& key) {
    const bool accepted = IsValueChar(key) || key == kBackspace;
    if (!accepted) key = QChar(0);
    if (key == kBackspace) {
        // Backspace that will take away the only character after the point.
        const qsizetype point = LastEditText.indexOf(u'.') + 1;  // counted from 1; 0 without one
        if (LastEditText.size() - point == 1) BackspaceAtPoint = 1;
    }
    return accepted;
}

void Ttable3::CaretToEnd() { Edit1->setCursorPosition(static_cast<int>(Edit1->text().size())); }

void Ttable3::PasteIntoEdit() {
    // Pasted text goes through the key filter character by character.
    QString kept;
    const QString pasted = QGuiApplication::clipboard()->text();
    for (QChar c : pasted) {
        if (Edit1KeyPress(c) && c != kBackspace) kept.append(c);
    }
    if (!kept.isEmpty()) Edit1->insert(kept);
}

void Ttable3::UserTypeEdit(const QString& text) {
    for (QChar c : text) {
        const int key = c == kBackspace ? int(Qt::Key_Backspace) : int(c.toUpper().unicode());
        const QString keyText = c == kBackspace ? QString() : QString(c);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, keyText);
        QCoreApplication::sendEvent(Edit1, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, keyText);
        QCoreApplication::sendEvent(Edit1, &release);
    }
}

bool Ttable3::eventFilter(QObject* watched, QEvent* event) {
    if (watched != Edit1 || !Edit1->isEnabled()) return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        if (keyEvent->matches(QKeySequence::Paste)) {
            PasteIntoEdit();
            return true;
        }
        QChar key;
        if (keyEvent->key() == Qt::Key_Backspace)
            key = kBackspace;
        else if (keyEvent->key() == Qt::Key_Delete || keyEvent->text().isEmpty())
            return false;  // caret keys and Delete write no character
        else
            key = keyEvent->text().at(0);
        return !Edit1KeyPress(key);
    }
    // The selection paste of the middle button would bypass the filter.
    if ((event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease) &&
        static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton)
        return true;
    return QDialog::eventFilter(watched, event);
}

void Ttable3::Edit1Change() {
    const QString text = Edit1->text();
    if (BackspaceAtPoint == 1 && !text.contains(u'.') && LastEditText.count(u'.') == 1) CaretToEnd();

    if (EditDrivesValue != 1 || text.isEmpty() || text == QStringLiteral("-")) return;

    bool ok = WellFormed(text);
    double value = 0.0;
    if (ok) value = text.toDouble(&ok);  // "." or "-." alone is no number
    if (ok && SliderLive == 1) {
        if (value < Bar.Min() / SliderScale || value > Bar.Max() * RoundTo(1.0 / SliderScale, 12)) ok = false;
    }
    if (!ok) {
        // Back to the last good text, which runs this handler again for it.
        if (text == LastEditText) return;
        Edit1->setText(LastEditText);
        CaretToEnd();
        return;
    }
    LastEditText = text;
    Bar.SetPosition(TruncToInt(value * SliderScale));
    EchoSliderToEdit = 0;
    BackspaceAtPoint = 0;
}

// ---------------------------------------------------------------------------------------------
// OK and Exit

void Ttable3::Button1Click() {
    QString line[4];
    const QString sep = QStringLiteral("    ");
    if (const PanelDescription* panel = Description(); panel && panel->summary) {
        int layoutSize = 0;
        for (const PanelLayout& layout : panel->layouts)
            if (ComboBox2->currentText() == layout.text) layoutSize = layout.size;
        panel->summary(line, layoutSize);
    }
    SettingSummary = line[0] + sep + line[1] + sep + line[2] + sep + line[3];
    if (!AskConfirmation({line[0], line[1], line[2], line[3]})) return;
    PanelAccepted = 1;
    Host().AppendMemo(SettingSummary);
    LastEditText.clear();
    done(QDialog::Accepted);
}

void Ttable3::reject() { Button2Click(); }

void Ttable3::Button2Click() {
    if (!AskConfirmation({QStringLiteral("你确定要离开吗??")})) return;
    LabHost& host = Host();
    host.SetSettingEnabled(true);
    host.SetPauseEnabled(false);
    host.SetStartEnabled(false);
    host.StopTimer();
    PanelAccepted = 0;
    host.ShowReturnIfRowHidden();
    LastEditText.clear();
    done(QDialog::Rejected);
}

// ---------------------------------------------------------------------------------------------

void Ttable3::Describe(QJsonObject& out) const {
    out.insert(QStringLiteral("SliderScale"), SliderScale);
    out.insert(QStringLiteral("SliderValue"), SliderValue);
    out.insert(QStringLiteral("LastEditText"), LastEditText);
    out.insert(QStringLiteral("SettingSummary"), SettingSummary);
    out.insert(QStringLiteral("EditDrivesValue"), EditDrivesValue);
    out.insert(QStringLiteral("SliderLive"), SliderLive);
    out.insert(QStringLiteral("EchoSliderToEdit"), EchoSliderToEdit);
    out.insert(QStringLiteral("BackspaceAtPoint"), BackspaceAtPoint);
}

}  // namespace vlab
