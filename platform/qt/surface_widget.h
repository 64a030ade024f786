// The client area of a main window or of a dialog that draws itself: it shows the window's
// persistent surface and turns Qt's events into calls on its handlers. Private to platform/qt.
#pragma once
#include <QWidget>

struct PlatformWindow;

class SurfaceWidget : public QWidget {
public:
    explicit SurfaceWidget(PlatformWindow* window, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

private:
    PlatformWindow* window_;
    int wheelRest_ = 0;    // turning not yet worth a line, in 1/120 notches
    int modifiedRest_ = 0; // the same with a modifier held, not yet worth a notch
};

// Grows or shrinks `window`'s surface to its client widget's size (the old picture kept at the
// top left, the rest white).
void fitSurface(PlatformWindow* window);
