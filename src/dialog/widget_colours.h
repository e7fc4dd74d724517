#pragma once
// Colours of the lab's widgets, set through their palettes.

#include <QColor>
#include <QPalette>
#include <QWidget>

namespace vlab {

// Sets one palette role; a window or base colour also makes the widget paint its background.
inline void PaintRole(QWidget* w, QPalette::ColorRole role, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(role, c);
    w->setPalette(p);
    if (role == QPalette::Window || role == QPalette::Base) w->setAutoFillBackground(true);
}

}  // namespace vlab
