#include "catalog/FontGrouping.h"

#include "catalog/FontCatalog.h"
#include "platform/TextConversion.h"

int FontGroupOf(const QString& name)
{
    if (name.isEmpty())
        return OtherGroup;
    // A voiced kana becomes two characters; only the first one counts.
    const QChar initial = platform::toHalfWidth(name.left(1)).at(0);
    const char16_t code = initial.unicode();
    if (code >= u'A' && code <= u'Z')
        return code - u'A' + 1;
    if (code == u'$' || code == u'%' || code == u'&' || code == u'@')
        return SymbolGroup;
    return OtherGroup;
}

QString IndexLabelOf(int group)
{
    if (group == SymbolGroup)
        return QStringLiteral("$,%,&,@");
    if (group >= 1 && group <= 26)
        return QString(QChar(u'A' + group - 1));
    return QStringLiteral("Other");
}
