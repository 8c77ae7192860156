#pragma once

#include <QByteArray>
#include <QString>

namespace odz {

// Whether the bytes are a rich-text document: they begin with "{\rtf".
bool IsRichText(const QByteArray& bytes);

// The text a reader sees in a rich-text document: paragraphs and line breaks as "\n", tabs as "\t",
// Unicode and code-page characters decoded (code-page bytes as Windows-1252), everything in the
// document's tables, pictures, fields' instructions and other hidden parts left out.
QString RichTextPlainText(const QByteArray& rtf);

}  // namespace odz
