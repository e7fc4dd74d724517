#pragma once
// The five windows of the lab, created at start-up in this order and alive for the whole run:
// the title screen (the application's main window), the lab window, the parameter panel, the
// confirmation dialog and the help viewer.

namespace vlab {

class TMain;
class TForm1;
class Ttable3;
class Tcheck;
class TForm2;

extern TMain* Main;
extern TForm1* Form1;
extern Ttable3* table3;
extern Tcheck* check;
extern TForm2* Form2;

// Program start: creates the five windows in order; only the title screen is shown by the caller.
void CreateWindows();
// Lays out the title screen, the panel, the dialog and the help viewer at the lab window's scale
// (each smaller where that would not fit on the screen), centred as at the normal size.
void ScaleCompanionWindows(double scale);
// Deletes the five windows (tests use it to start clean) and resets the whole lab state.
void DestroyWindows();

}  // namespace vlab
