#pragma once

#include <QLabel>
#include <QString>

namespace klebwerk {

// The header's target text: the target's name, optionally followed by a fainter,
// smaller addition (the number of windows), or a plain text in the label's own style.
// Too long a text is cut at its end. It gives way first when the row is narrow.
class ZielBeschriftung : public QLabel {
public:
    explicit ZielBeschriftung(QWidget* eltern = nullptr);

    void setzeZiel(const QString& name, const QString& zusatz);
    void setzeSchlicht(const QString& text);
    const QString& name() const { return name_; }
    const QString& zusatz() const { return zusatz_; }
    bool schlicht() const { return schlicht_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QFont nameSchrift() const;
    QFont zusatzSchrift() const;

    bool schlicht_ = true;
    QString name_;
    QString zusatz_;
};

}  // namespace klebwerk
