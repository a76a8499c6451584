#include "document/documentchange.h"

DocumentChange::DocumentChange(Document *document, const Document::Snapshot &before,
                               const Document::Snapshot &after, const QString &text)
    : QUndoCommand(text), m_document(document), m_before(before), m_after(after)
{
}

void DocumentChange::undo()
{
    m_document->restore(m_before);
}

void DocumentChange::redo()
{
    // Pushing does the step; a rebuilt history only takes it in.
    if (!m_document->m_rebuilding)
        m_document->restore(m_after);
}

void DocumentChange::setBeforeFile(const QString &path)
{
    m_before.path = path;
    m_before.hasFile = true;
}

void DocumentChange::setAfterFile(const QString &path)
{
    m_after.path = path;
    m_after.hasFile = true;
}
