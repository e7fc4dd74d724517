#pragma once
// The parameter panel `table3`: the small modal window in which the user sets the start values of
// the experiment on show.

#include <QDialog>

class QPushButton;

namespace vlab {

class Ttable3 : public QDialog {
    Q_OBJECT
public:
    explicit Ttable3(QWidget* parent = nullptr);

    QPushButton* Button1 = nullptr;  // OK: disabled by Setting until an item is recognised
    // (the remaining controls are declared by the panel's own implementation)
};

}  // namespace vlab
