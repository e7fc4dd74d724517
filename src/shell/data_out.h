#pragma once
// Pictures out of the lab window: Ctrl+C copies the drawing surface (700 x 548, as drawn) to the
// clipboard, Ctrl+S saves it as a PNG file the user names; both also from the surface's context
// menu (the right button, or a long press on a touch screen). Nothing is written otherwise.

#include <QPoint>
#include <QString>

class QWidget;

namespace vlab {

// Puts the commands on the lab window, with their keys.
void InstallDataOut(QWidget* labWindow);
// The surface's context menu at a point of the screen.
void ShowDataOutMenu(QWidget* labWindow, const QPoint& globalPos);

// The surface as drawn, on the clipboard.
void CopySurface();
// The name the save dialog offers: the experiment's title and the step, "摩擦力-第970步.png".
QString PictureFileName();
// Writes the surface as PNG; empty when it is written, else the reason.
QString SaveSurfacePicture(const QString& path);
// Asks where to save the surface, and saves it there (a cancelled dialog writes nothing).
void AskSaveSurfacePicture(QWidget* labWindow);

// The name the export dialog offers: "摩擦力-第970步.csv".
QString NumbersFileName();
// Writes the run's numbers as CSV; empty when it is written, else the reason.
QString ExportRunNumbers(const QString& path);
// Asks where to export the run's numbers, and writes them there (a cancelled dialog writes nothing).
void AskExportRunNumbers(QWidget* labWindow);

}  // namespace vlab
