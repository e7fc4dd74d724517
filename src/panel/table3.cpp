#include "panel/table3.h"

#include <QPushButton>

namespace vlab {

Ttable3::Ttable3(QWidget* parent) : QDialog(parent, Qt::FramelessWindowHint) {
    setObjectName("table3");
    Button1 = new QPushButton("OK", this);
    Button1->setObjectName("Button1");
}

}  // namespace vlab
