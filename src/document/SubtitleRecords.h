#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The two text formats as plain values: what their readers give and their
// writers take. Nothing here knows the document or its lines.

// One SubRip cue. A cue read from a file has no text when it had no text line.
struct SrtCue {
    double start = 0;
    double end = 0;
    std::optional<QString> text;
};

// One ASS event as the writer puts it on a "Dialogue: " line.
struct AssEvent {
    qint64 layer = 0;
    double start = 0;
    double end = 0;
    QString style;
    QString name;
    qint64 marginL = 0;
    qint64 marginR = 0;
    qint64 marginV = 0;
    QString effect;
    QString text;  // with ASS override tags; line feeds become "\N"
};

// An ASS or SSA script: the three known sections and the text of every other
// section (embedded fonts, pictures, a tool's own data) as read, header
// included, so that a save gives them back.
struct AssScript {
    QMap<QString, QString> scriptInfo;
    QString styleHeader;
    QString styleFormat;
    QStringList styleLines;
    QString eventFormat;
    QStringList eventLines;
    QStringList keptSections;
};

// What the ASS writer takes: style lines are the styles' own texts.
struct AssDocument {
    QMap<QString, QString> scriptInfo;
    QStringList styleLines;
    std::vector<AssEvent> events;
    QStringList keptSections;
};
