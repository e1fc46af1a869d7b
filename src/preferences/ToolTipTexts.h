#pragma once

#include <QList>
#include <QString>

// One tool-tip text of the "on" state: the name of the text it fills and the
// wording, byte for byte as kept in ToolTipTexts.json.
struct ToolTipText {
    QString key;
    QString text;
};

// The 75 texts of the "on" state, in the order they are set. Read once from
// the data file compiled into the library.
const QList<ToolTipText>& toolTipOnTexts();
