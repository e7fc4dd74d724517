#pragma once
// The title screen `Main`: the application's main window, a full-window title picture with two
// hot spots, one to enter the lab and one to leave.

#include <QLabel>

#include <functional>

namespace vlab {

// A picture control that reports clicks and pointer moves (a hot spot is one without a picture).
class PictureBox : public QLabel {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);
    std::function<void()> OnClick;
    std::function<void(int x, int y)> OnMove;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};

class TMain : public QWidget {
    Q_OBJECT
public:
    explicit TMain(QWidget* parent = nullptr);

    PictureBox* Image6 = nullptr;  // the title picture, stretched over the window
    PictureBox* Image4 = nullptr;  // hot spot: enter the lab
    PictureBox* Image5 = nullptr;  // hot spot: leave

    void Image4Click();
    void Image5Click();
    void Image4MouseMove();
    void Image5MouseMove();
    void Image6MouseMove();

protected:
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace vlab
