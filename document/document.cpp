#include "document/document.h"

#include "document/documentchange.h"

#include <QSet>
#include <QSettings>
#include <QUndoStack>

namespace {

constexpr qint64 HistoryCeiling = qint64(1) << 30;
const QString ColorManagedKey = QStringLiteral("colors/color_managed");

// The bytes of the step's pictures that are not in counted yet; adds them.
// Pictures shared between steps, or with the document, count once.
qint64 uncountedBytes(const DocumentChange *step, QSet<qint64> &counted)
{
    qint64 bytes = 0;
    for (const Picture &picture : {step->before().pixels, step->after().pixels}) {
        for (const QImage &pixels : {picture.stored, picture.srgb}) {
            if (!counted.contains(pixels.cacheKey())) {
                counted.insert(pixels.cacheKey());
                bytes += pixels.sizeInBytes();
            }
        }
    }
    return bytes;
}

} // namespace

Document::Document(QObject *parent)
    : QObject(parent), m_undoStack(new QUndoStack(this)),
      m_colorManaged(QSettings().value(ColorManagedKey, true).toBool())
{
}

void Document::setViewStateSource(const std::function<ViewState()> &source)
{
    m_viewState = source;
}

Document::Snapshot Document::snapshot() const
{
    return {m_image.picture(), m_image.path, m_image.modified, m_image.hasFile,
            m_viewState ? m_viewState() : ViewState()};
}

void Document::setColorManaged(bool on)
{
    if (on == m_colorManaged)
        return;
    m_colorManaged = on;
    QSettings().setValue(ColorManagedKey, on);
    if (m_image.srgb.cacheKey() != m_image.image.cacheKey())
        emit displayChanged();
}

void Document::open(const QString &path, const Picture &picture)
{
    if (picture.isNull())
        return;
    m_undoStack->clear();
    m_image = Image(path, picture, false, true);
    m_onDisk.insert(m_image.path, picture.stored.cacheKey());
    emit shown(&m_image, ViewState());
    emit changed();
}

void Document::replace(const Picture &picture, const QString &name)
{
    if (picture.isNull())
        return;
    const Snapshot after{picture, name, true, false, ViewState()};
    if (m_image.isNull) {
        // Nothing to go back to.
        m_undoStack->clear();
        restore(after);
        return;
    }
    record(after, tr("Replace"));
}

bool Document::crop(const QRect &rect)
{
    const QRect kept = rect.intersected(m_image.image.rect());
    if (m_image.isNull || kept.isEmpty())
        return false;
    Snapshot after = snapshot();
    after.view.valid = true;
    after.view.selection = QRectF();
    after.view.centre = QRectF(QPointF(0, 0), QSizeF(kept.size())).center();
    if (kept == m_image.image.rect()) {
        // The same pixels: nothing changes but where the user stands.
        emit shown(&m_image, after.view);
        return true;
    }
    after.pixels = m_image.picture().copy(kept);
    after.modified = true;
    record(after, tr("Crop"));
    return true;
}

bool Document::save(const QString &path)
{
    if (!m_image.save(path))
        return false;
    m_onDisk.insert(m_image.path, m_image.image.cacheKey());
    // The steps on either side of this state tell it under its new file.
    const int index = m_undoStack->index();
    if (index > 0)
        step(index - 1)->setAfterFile(m_image.path);
    if (index < m_undoStack->count())
        step(index)->setBeforeFile(m_image.path);
    emit changed();
    return true;
}

QImage Document::copy(const QRect &rect) const
{
    return rect.isEmpty() ? m_image.image : m_image.image.copy(rect);
}

void Document::record(const Snapshot &after, const QString &text)
{
    m_undoStack->push(new DocumentChange(this, snapshot(), after, text));
    trimHistory();
}

void Document::restore(const Snapshot &snapshot)
{
    const bool modified =
        !snapshot.hasFile || m_onDisk.value(snapshot.path, -1) != snapshot.pixels.stored.cacheKey();
    m_image = Image(snapshot.path, snapshot.pixels, modified, snapshot.hasFile);
    emit shown(&m_image, snapshot.view);
    emit changed();
}

qint64 Document::historyBytes() const
{
    QSet<qint64> counted{m_image.image.cacheKey(), m_image.srgb.cacheKey()};
    qint64 bytes = 0;
    for (int i = 0; i < m_undoStack->count(); ++i)
        bytes += uncountedBytes(step(i), counted);
    return bytes;
}

qint64 Document::historyLimit() const
{
    return qMin(HistoryCeiling, 4 * qint64(m_image.image.sizeInBytes()));
}

void Document::trimHistory()
{
    if (m_undoStack->count() <= 1 || historyBytes() <= historyLimit())
        return;
    // QUndoStack cannot drop its oldest steps: it is rebuilt from the newest
    // ones that fit, without doing them again. A step is pushed only right
    // after a change, so none lies above the current one.
    QList<DocumentChange *> steps;
    QSet<qint64> counted{m_image.image.cacheKey(), m_image.srgb.cacheKey()};
    qint64 bytes = 0;
    for (int i = m_undoStack->count() - 1; i >= 0; --i) {
        const DocumentChange *old = step(i);
        bytes += uncountedBytes(old, counted);
        // The newest step stays whatever it costs: a crop to a small part
        // of a large picture can always be undone.
        if (!steps.isEmpty() && bytes > historyLimit())
            break;
        steps.prepend(new DocumentChange(this, old->before(), old->after(), old->text()));
    }
    m_rebuilding = true;
    m_undoStack->clear();
    for (DocumentChange *change : std::as_const(steps))
        m_undoStack->push(change);
    m_rebuilding = false;
}

DocumentChange *Document::step(int index) const
{
    return const_cast<DocumentChange *>(
        static_cast<const DocumentChange *>(m_undoStack->command(index)));
}
