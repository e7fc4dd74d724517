#pragma once
// Names and descriptions that a screen reader reads out for the lab's controls.

#include <QString>
#include <QWidget>

namespace vlab {

// A control without a caption of its own (a picture, a hot spot, the drawing surface, a slider or an
// edit box) gets a fixed name; a button keeps its caption as its name, so that a caption changed
// at run time ("Pause" to "Continue") is what is read out, and only gets a description.
inline void SetAccessible(QWidget* control, const QString& name, const QString& description) {
    if (!name.isEmpty()) control->setAccessibleName(name);
    control->setAccessibleDescription(description);
}

}  // namespace vlab
