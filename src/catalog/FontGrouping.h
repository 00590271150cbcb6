#pragma once

#include <QString>

// The index group of a font name: 1..26 for an initial "A".."Z" (after the
// half-width conversion, case-sensitive), 0 for "$", "%", "&" or "@", and 27
// for everything else, the empty name included.
int FontGroupOf(const QString& name);

// The label of group 0..27: "$,%,&,@", "A".."Z", "Other".
QString IndexLabelOf(int group);
