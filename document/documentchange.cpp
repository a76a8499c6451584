#include "document/documentchange.h"

#include <QUndoStack>

DocumentChange::DocumentChange(Document *document, const Document::Snapshot &before,
                               const Document::Snapshot &after, const QString &text)
    : QUndoCommand(text), m_document(document), m_before(before), m_after(after)
{
}

void DocumentChange::undo()
{
    // The stack still stands after this step while it is undone.
    m_document->restore(m_before, m_document->undoStack()->index() - 1);
}

void DocumentChange::redo()
{
    // Pushing does the step; a rebuilt history only takes it in.
    if (!m_document->m_rebuilding)
        m_document->restore(m_after, m_document->undoStack()->index() + 1);
}
