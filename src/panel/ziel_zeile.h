#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QPointF>
#include <QWidget>

class QPushButton;

namespace klebwerk {

class Ziel;

// One row of the panel's target list: dot, name, reconnect and remove buttons. A
// press that moves more than 4 points drags the row; otherwise it is a click.
class ZielZeile : public QWidget {
public:
    ZielZeile(const std::string& name, bool aktiv, QWidget* eltern = nullptr);
    ~ZielZeile() override;

    std::weak_ptr<Ziel> zielObj;
    std::function<void(bool)> hover;
    std::function<void()> antippen;
    std::function<void()> neu;
    std::function<void()> weg;
    // The row dragged, with the pointer in global screen coordinates.
    std::function<void(ZielZeile&, QPointF)> ziehen;
    std::function<void()> losgelassen;
    const std::string name;

    // Whether the row stands for the active target.
    bool aktiv() const { return aktiv_; }
    // The mouse rests on the row, and the row is being dragged.
    bool schwebt() const { return schwebt_; }
    bool gezogen() const { return gezogen_; }

    void neuGedrueckt();
    void wegGedrueckt();
    QPushButton* verbindenKnopf() const { return verbindenKnopf_; }
    QPushButton* entfernenKnopf() const { return entfernenKnopf_; }

protected:
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;
    void paintEvent(QPaintEvent*) override;
    void hideEvent(QHideEvent*) override;

private:
    QPushButton* verbindenKnopf_ = nullptr;
    QPushButton* entfernenKnopf_ = nullptr;
    const bool aktiv_;
    bool schwebt_ = false;
    // A left press is being followed; where it began (global screen coordinates).
    bool gedrueckt_ = false;
    QPointF druckBei_;
    bool gezogen_ = false;

    // The press is over: a drag ends (`losgelassen`), anything else was a click (`antippen`).
    void beendeDruck();
};

}  // namespace klebwerk
