#ifndef LUMENO_DOCUMENTCHANGE_H
#define LUMENO_DOCUMENTCHANGE_H

#include "document/document.h"

#include <QUndoCommand>

// One step of a Document's history: the document before and after a change.
// The pictures are implicitly shared with the document and the neighbouring
// steps, so a step costs only the pixels that are really different.
class DocumentChange : public QUndoCommand
{
public:
    DocumentChange(Document *document, const Document::Snapshot &before,
                   const Document::Snapshot &after, const QString &text);

    void undo() override;
    void redo() override;

    const Document::Snapshot &before() const { return m_before; }
    const Document::Snapshot &after() const { return m_after; }
    // The document was saved under path in the state before or after this
    // step: that state belongs to the file now.
    void setBeforeFile(const QString &path);
    void setAfterFile(const QString &path);

private:
    Document *m_document; // not owned; the document owns the stack this is in
    Document::Snapshot m_before;
    Document::Snapshot m_after;
};

#endif
