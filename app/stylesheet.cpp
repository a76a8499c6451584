#include "app/stylesheet.h"

#include <QList>
#include <QPair>
#include <QRegularExpression>

QString expandStyleSheetVariables(const QString &text)
{
    // Unicode properties give \w and \s the meaning they have for QChar
    // (letters of any script, any kind of blank), not ASCII only.
    static const QRegularExpression definition(
        QStringLiteral("\\$([\\w-]+)\\s*=\\s*\"([^\"]*)\"\\s*\\n"),
        QRegularExpression::UseUnicodePropertiesOption);

    // Collected first: the replacements below must not create or destroy
    // definitions.
    QList<QPair<QString, QString>> variables;
    QRegularExpressionMatchIterator matches = definition.globalMatch(text);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        variables.append({match.captured(1), match.captured(2)});
    }

    QString expanded = text;
    for (const auto &[name, value] : variables)
        expanded.replace(QLatin1Char('%') + name + QLatin1Char('%'), value, Qt::CaseSensitive);
    return expanded;
}
