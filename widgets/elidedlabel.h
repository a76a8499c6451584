#ifndef LUMENO_ELIDEDLABEL_H
#define LUMENO_ELIDEDLABEL_H

#include <QColor>
#include <QFrame>
#include <QString>

// One line of text, cut at the right with an ellipsis when the label is
// narrower than the text. The label never asks for, nor accepts, more width
// than the whole text needs; the full text is its tool tip.
class ElidedLabel : public QFrame
{
    Q_OBJECT

public:
    explicit ElidedLabel(QWidget *parent = nullptr);

    // Also caps the maximum width at the text's width and, on a label that is
    // already shown, refreshes what it shows at once.
    void setText(const QString &text);
    QString text() const { return m_fullText; }
    // What is painted: the text elided to the current width.
    QString displayText() const { return m_displayText; }

    // Changes the widget's font; the width limit follows only at the next
    // setText().
    void setBold(bool bold);

    // A disabled label paints the same colour at alpha 64.
    void setTextColor(const QColor &color);
    QColor textColor() const { return m_textColor; }
    void setTextAlignment(Qt::Alignment alignment);
    Qt::Alignment textAlignment() const { return m_textAlignment; }

    QSize sizeHint() const override;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void updateElidedText();

    Qt::Alignment m_textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    QColor m_textColor = Qt::black;
    QString m_fullText;
    QString m_displayText;
    int m_preferredWidth = 0;
};

#endif
