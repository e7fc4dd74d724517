#pragma once
// What must hold between any two user actions, whatever the user did: the lab window's controls
// form one of the run-control states, the step timer runs only while a run is on, at least one of
// the lab's main windows is on screen, no lab variable holds NaN or an infinity, and no drawing
// call was handed a point that had lost its place.

#include <QString>

namespace vlab {

// Empty when everything holds; otherwise what is broken, in a few words naming the controls and
// values concerned.
QString CheckInvariants();

}  // namespace vlab
