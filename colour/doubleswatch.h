#ifndef LUMENO_DOUBLESWATCH_H
#define LUMENO_DOUBLESWATCH_H

#include <QPixmap>
#include <QWidget>

class PickModel;

// The colour panel's narrow two-colour swatch: the pick model's hovered
// colour on the left half, its clicked one on the right, both over a
// checkerboard (the tile given) inside a one-pixel grey frame, so that
// translucent colours show as such. Repaints whenever either colour changes;
// the model is not owned.
class DoubleSwatch : public QWidget
{
    Q_OBJECT

public:
    DoubleSwatch(PickModel *pick, const QPixmap &checker, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    PickModel *m_pick;
    QPixmap m_checker;
};

#endif
