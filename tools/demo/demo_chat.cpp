// The demo chat: a small window that looks like an AI chat, with an answer, a
// microphone button and an input field that shows what is pasted into it. Each
// paste is reported on standard output:
//   eingefuegt bild <width>x<height> <formats> <ms since the epoch>
//   eingefuegt text <characters> <formats> <ms since the epoch>
//   nachricht <the message's text, a picture as "[bild]"> <ms since the epoch>
//   gesendet <ms since the epoch>
// The microphone button dictates as a chat's does: pressed (a click or its
// accessibility action), it hides while it "listens", types a few words into the
// input field one by one, and comes back when they are all there:
//   diktat gestartet <ms since the epoch>
//   diktat fertig <ms since the epoch>
// With --lage, where the button's centre is on the screen, whenever the window moves:
//   mikrofon <x> <y>
// The window's title is "Demo-Chat" unless --titel names another.

#include <cstdio>
#include <functional>

#include <QApplication>
#include <QDateTime>
#include <QHBoxLayout>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

namespace {

void melde(const QString& zeile) {
    std::printf("%s %lld\n", zeile.toUtf8().constData(), static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
    std::fflush(stdout);
}

// The input field: pasted images are shown scaled to the field's width; Return
// sends, as in a chat (Shift+Return starts a new line).
class Eingabe : public QTextEdit {
public:
    std::function<void()> senden;

protected:
    void keyPressEvent(QKeyEvent* e) override {
        if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && !(e->modifiers() & Qt::ShiftModifier)) {
            if (senden) senden();
            return;
        }
        QTextEdit::keyPressEvent(e);
    }
    bool canInsertFromMimeData(const QMimeData* quelle) const override {
        return quelle->hasImage() || QTextEdit::canInsertFromMimeData(quelle);
    }
    void insertFromMimeData(const QMimeData* quelle) override {
        if (quelle->hasImage()) {
            QImage bild = qvariant_cast<QImage>(quelle->imageData());
            if (!bild.isNull()) {
                const int breite = std::max(80, viewport()->width() - 24);
                QImage klein = bild.scaledToWidth(std::min(breite, bild.width()), Qt::SmoothTransformation);
                textCursor().insertImage(klein);
                melde(QStringLiteral("eingefuegt bild %1x%2 %3")
                          .arg(bild.width())
                          .arg(bild.height())
                          .arg(quelle->formats().join(',')));
                return;
            }
        }
        QTextEdit::insertFromMimeData(quelle);
        melde(QStringLiteral("eingefuegt text %1 %2").arg(quelle->text().size()).arg(quelle->formats().join(',')));
    }
};

// A microphone, drawn: the desktop may have no font with the emoji.
QIcon mikrofonBild() {
    QPixmap bild(40, 40);
    bild.fill(Qt::transparent);
    QPainter p(&bild);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0xe8, 0xea, 0xed), 3));
    p.setBrush(QColor(0xe8, 0xea, 0xed));
    p.drawRoundedRect(QRectF(14, 4, 12, 20), 6, 6);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(9, 10, 22, 20), 200 * 16, 140 * 16);
    p.drawLine(QPointF(20, 30), QPointF(20, 36));
    p.drawLine(QPointF(14, 36), QPointF(26, 36));
    return QIcon(bild);
}

// What the microphone "hears": these words, one every `wortAbstand` ms.
const QStringList diktierteWoerter{QStringLiteral("Was"),   QStringLiteral("siehst"), QStringLiteral("du"),
                                   QStringLiteral("auf"),   QStringLiteral("diesem"), QStringLiteral("Bild?")};
constexpr int wortAbstand = 400;

// Dictation: while it runs the microphone button is hidden, as a chat swaps it for
// its recording state; the words go to the end of the input field.
class Diktat : public QObject {
public:
    Diktat(QPushButton* knopf, QTextEdit* eingabe) : knopf_(knopf), eingabe_(eingabe) {
        uhr_.setInterval(wortAbstand);
        connect(&uhr_, &QTimer::timeout, this, [this] { naechstesWort(); });
        connect(knopf_, &QPushButton::clicked, this, [this] { starte(); });
    }

private:
    void starte() {
        if (uhr_.isActive()) return;
        melde(QStringLiteral("diktat gestartet"));
        knopf_->hide();
        wort_ = 0;
        uhr_.start();
    }
    void naechstesWort() {
        QTextCursor c(eingabe_->document());
        c.movePosition(QTextCursor::End);
        const bool leer = eingabe_->document()->isEmpty();
        c.insertText((leer ? QString() : QStringLiteral(" ")) + diktierteWoerter[wort_++]);
        if (wort_ < diktierteWoerter.size()) return;
        uhr_.stop();
        knopf_->show();
        melde(QStringLiteral("diktat fertig"));
    }

    QPushButton* knopf_;
    QTextEdit* eingabe_;
    QTimer uhr_;
    int wort_ = 0;
};

// Reports the microphone button's centre in screen coordinates each time the window
// is placed or moved (the window manager places it after it is shown).
class Lagemelder : public QObject {
public:
    explicit Lagemelder(QWidget* knopf) : knopf_(knopf) {}

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Move || e->type() == QEvent::Resize || e->type() == QEvent::Show) {
            QTimer::singleShot(0, this, [this] { meldeLage(); });
        }
        return QObject::eventFilter(o, e);
    }

private:
    void meldeLage() {
        if (!knopf_->isVisible()) return;
        const QPoint mitte = knopf_->mapToGlobal(knopf_->rect().center());
        if (mitte == gemeldet_) return;
        gemeldet_ = mitte;
        std::printf("mikrofon %d %d\n", mitte.x(), mitte.y());
        std::fflush(stdout);
    }
    QWidget* knopf_;
    QPoint gemeldet_{-1, -1};
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget fenster;
    const int titelStelle = QCoreApplication::arguments().indexOf(QStringLiteral("--titel"));
    fenster.setWindowTitle(titelStelle > 0 ? QCoreApplication::arguments().value(titelStelle + 1)
                                           : QStringLiteral("Demo-Chat"));
    fenster.resize(560, 520);
    fenster.setStyleSheet(QStringLiteral(
        "QWidget { background: #202124; color: #e8eaed; font-size: 14px; }"
        "QLabel#antwort { background: #2d2f33; border-radius: 12px; padding: 14px; }"
        "QTextEdit { background: #303134; border: 1px solid #5f6368; border-radius: 12px; padding: 6px; }"
        "QPushButton { background: #3c4043; border: none; border-radius: 18px; min-width: 36px; min-height: 36px; }"));

    auto* kopf = new QLabel(QStringLiteral("<b>Demo-Chat</b> · Klebwerk"));
    auto* antwort = new QLabel(QStringLiteral(
        "Schick mir einen Screenshot – ich sehe ihn mir an.\nSend me a screenshot and I will have a look."));
    antwort->setObjectName(QStringLiteral("antwort"));
    antwort->setWordWrap(true);

    auto* eingabe = new Eingabe;
    eingabe->setAccessibleName(QStringLiteral("Nachricht"));
    eingabe->setPlaceholderText(QStringLiteral("Nachricht an den Demo-Chat …"));
    auto* mikrofon = new QPushButton;
    mikrofon->setIcon(mikrofonBild());
    mikrofon->setIconSize(QSize(20, 20));
    mikrofon->setAccessibleName(QStringLiteral("Diktat starten"));
    // A click on it leaves the keyboard focus in the input field, where the words go.
    mikrofon->setFocusPolicy(Qt::NoFocus);
    auto* senden = new QPushButton(QStringLiteral("➤"));
    senden->setAccessibleName(QStringLiteral("Senden"));

    auto* leiste = new QHBoxLayout;
    leiste->addWidget(eingabe, 1);
    auto* knoepfe = new QVBoxLayout;
    knoepfe->addWidget(mikrofon);
    knoepfe->addWidget(senden);
    knoepfe->addStretch();
    leiste->addLayout(knoepfe);

    auto* anordnung = new QVBoxLayout(&fenster);
    anordnung->addWidget(kopf);
    anordnung->addWidget(antwort);
    anordnung->addLayout(leiste, 1);

    eingabe->senden = [eingabe] {
        // What goes out, a picture as "[bild]", then that it went.
        QString inhalt = eingabe->toPlainText();
        inhalt.replace(QChar::ObjectReplacementCharacter, QStringLiteral("[bild]"));
        melde(QStringLiteral("nachricht ") + inhalt.simplified());
        melde(QStringLiteral("gesendet"));
        eingabe->clear();
    };
    QObject::connect(senden, &QPushButton::clicked, [eingabe] { eingabe->senden(); });
    Diktat diktat(mikrofon, eingabe);
    Lagemelder lage(mikrofon);
    if (QCoreApplication::arguments().contains(QStringLiteral("--lage"))) fenster.installEventFilter(&lage);
    fenster.show();
    return app.exec();
}
