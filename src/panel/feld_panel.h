#pragma once

#include <functional>

#include <QPainterPath>
#include <QPoint>
#include <QString>
#include <QWidget>

#include "platform/geometrie.h"
#include "platform/plattform.h"

namespace klebwerk {

// A window of the panel kind (the panel and its point): frameless, above other
// windows, on every workspace, out of taskbar and pager, and never takes the keyboard
// focus, so that clicks on it leave the focus where the user types.
class FeldPanel : public QWidget {
public:
    // `hintergrundZiehbar`: dragging the background moves the window. The background is
    // what lets a press through: a view of its own that acts on clicks accepts the press
    // (as Qt's controls do), or a drag would start beneath it.
    FeldPanel(Plattform& plattform, const QString& titel, bool hintergrundZiehbar);
    ~FeldPanel() override;

    // Where the window stands, in top-left screen coordinates: where this program put
    // it (by code or by the user's drag). The window system's own report can say (0, 0)
    // for a moment after a window is first shown, while the window manager takes it.
    Rechteck rahmen() const;
    void setzeRahmen(const Rechteck& r);
    QPoint ort() const { return ort_; }
    void verschiebeNach(QPoint ort);
    // Shows the window in front of the others without activating anything.
    void vorne();
    void weg();
    bool sichtbar() const { return isVisible(); }

    // The outline of the window's visible content in its own coordinates; where the
    // desktop cannot draw translucent windows the window is shaped to it.
    std::function<QPainterPath(QSize)> umriss;
    // Whether the desktop draws translucent windows (a compositing manager runs).
    bool durchscheinend = true;
    // The window moved by a drag of its background has come to rest.
    std::function<void()> verschoben;

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    void formeAn();

    Plattform& plattform_;
    bool hintergrundZiehbar_;
    bool zieht_ = false;
    bool bewegt_ = false;
    QPoint griff_;
    QPoint ort_;
};

}  // namespace klebwerk
