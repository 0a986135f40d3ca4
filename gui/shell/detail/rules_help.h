#pragma once

// The text of the rules help window: a reference of the rule language with
// four sample rule files, each of which parses on its own.

#include <QString>
#include <QStringList>

QString vx_rules_help_text();
// The sample rule files that the text shows, in its order.
QStringList vx_rules_help_samples();
