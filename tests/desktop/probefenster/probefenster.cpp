// A small window for the desktop tests: a title and geometry from the command line,
// a text area that takes the focus, and every key press it receives on standard output
// ("taste <Qt key> <modifier bits>"), focus gained and lost ("fokus", "fokus weg"),
// mouse press ("maus <button> <x> <y>", in the text area's coordinates; a right click
// opens no menu) and wheel turn ("rad <steps up>"), so that a test can see what
// reached it.
//   klebwerk_probefenster TITEL X Y BREITE HOEHE

#include <cstdio>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTimer>
#include <QWheelEvent>

namespace {

class Textfeld : public QPlainTextEdit {
protected:
    void keyPressEvent(QKeyEvent* e) override {
        std::printf("taste %d %u\n", e->key(), static_cast<unsigned>(e->modifiers().toInt()));
        std::fflush(stdout);
        if (e->matches(QKeySequence::Paste)) {
            const QMimeData* quelle = QGuiApplication::clipboard()->mimeData();
            if (!quelle || quelle->formats().isEmpty()) {
                std::printf("einfuegen \n");
                std::fflush(stdout);
                return;
            }
        }
        QPlainTextEdit::keyPressEvent(e);
    }
    // What is pasted is reported ("einfuegen <formats>"). Qt 6.4 crashes when Ctrl+V
    // meets an empty clipboard; keyPressEvent keeps that case away from it.
    void insertFromMimeData(const QMimeData* quelle) override {
        std::printf("einfuegen %s\n", quelle->formats().join(',').toUtf8().constData());
        std::fflush(stdout);
        QPlainTextEdit::insertFromMimeData(quelle);
    }
    void mousePressEvent(QMouseEvent* e) override {
        std::printf("maus %d %d %d\n", static_cast<int>(e->button()), e->position().toPoint().x(),
                    e->position().toPoint().y());
        std::fflush(stdout);
        QPlainTextEdit::mousePressEvent(e);
    }
    void wheelEvent(QWheelEvent* e) override {
        std::printf("rad %d\n", e->angleDelta().y() / 120);
        std::fflush(stdout);
        QPlainTextEdit::wheelEvent(e);
    }
    void focusInEvent(QFocusEvent* e) override {
        std::printf("fokus\n");
        std::fflush(stdout);
        QPlainTextEdit::focusInEvent(e);
    }
    void focusOutEvent(QFocusEvent* e) override {
        std::printf("fokus weg\n");
        std::fflush(stdout);
        QPlainTextEdit::focusOutEvent(e);
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QStringList a = app.arguments();
    Textfeld feld;
    feld.setContextMenuPolicy(Qt::NoContextMenu);
    feld.setWindowTitle(a.value(1, QStringLiteral("Probefenster")));
    feld.setGeometry(a.value(2, "100").toInt(), a.value(3, "100").toInt(), a.value(4, "400").toInt(),
                     a.value(5, "300").toInt());
    feld.show();
    QTimer::singleShot(0, &feld, [&feld] {
        std::printf("fenster %llu\n", static_cast<unsigned long long>(feld.winId()));
        std::fflush(stdout);
    });
    return app.exec();
}
