#include "feedback/hinweis.h"

#include <QFont>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QWidget>

#include "feedback/overlay.h"

namespace klebwerk {
namespace {

constexpr int rand = 18;
constexpr int hoehe = 46;
constexpr int abstandOben = 20;
constexpr int ecke = 12;

// The bar: a dark rounded rectangle, translucent where the desktop composites.
class HinweisPanel : public QWidget {
public:
    bool durchscheinend = true;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(durchscheinend ? QColor(28, 28, 30, 217) : QColor(40, 40, 42));
        if (durchscheinend) {
            p.drawRoundedRect(rect(), ecke, ecke);
        } else {
            p.drawRect(rect());
        }
    }
};

}  // namespace

std::optional<Bildschirm> bildschirmBei(const std::vector<Bildschirm>& bildschirme, Punkt punkt) {
    for (const auto& b : bildschirme) {
        if (b.rahmen.enthaelt(punkt)) return b;
    }
    if (bildschirme.empty()) return std::nullopt;
    return bildschirme.front();
}

Hinweis::Hinweis(Plattform& plattform) : plattform_(plattform) {
    auto* panel = new HinweisPanel;
    panel_.reset(panel);
    machUeberlagerung(*panel_);
    panel_->setAttribute(Qt::WA_TranslucentBackground);
    panel_->setWindowTitle(QStringLiteral("Klebwerk Hinweis"));
    panel_->resize(200, 36);
    label_ = new QLabel(panel_.get());
    QFont schrift = label_->font();
    schrift.setPixelSize(15);
    schrift.setWeight(QFont::DemiBold);
    label_->setFont(schrift);
    label_->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    auto* anordnung = new QHBoxLayout(panel_.get());
    anordnung->setContentsMargins(rand, 0, rand, 0);
    anordnung->addWidget(label_, 0, Qt::AlignVCenter);
}

Hinweis::~Hinweis() = default;

void Hinweis::zeige(const std::string& text, std::optional<double> dauer) {
    uhr_.aufheben();
    letzterText_ = text;
    ++anzahl_;
    label_->setText(QString::fromStdString(text));
    int breite = QFontMetrics(label_->font()).horizontalAdvance(label_->text());

    auto bildschirm = bildschirmBei(plattform_.bildschirme.alle(), plattform_.eingabe.zeiger());
    Rechteck v = bildschirm ? bildschirm->sichtbar : Rechteck{0, 0, 1280, 800};
    int w = breite + 2 * rand;
    panel_->setGeometry(static_cast<int>(v.x + v.breite / 2 - w / 2.0), static_cast<int>(v.y + abstandOben), w, hoehe);
    static_cast<HinweisPanel*>(panel_.get())->durchscheinend = plattform_.bildschirme.durchscheinend();
    panel_->setWindowOpacity(1.0);
    panel_->show();
    panel_->raise();
    panel_->update();
    if (dauer) uhr_ = plattform_.schleife.nach(*dauer, [this] { weg(); });
}

void Hinweis::weg() {
    uhr_.aufheben();
    panel_->hide();
}

bool Hinweis::sichtbar() const { return panel_->isVisible(); }
std::string Hinweis::text() const { return label_->text().toStdString(); }
Rechteck Hinweis::rahmen() const {
    QRect g = panel_->geometry();
    return {double(g.x()), double(g.y()), double(g.width()), double(g.height())};
}

}  // namespace klebwerk
