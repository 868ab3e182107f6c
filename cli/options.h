#pragma once

#include "render/job.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

namespace pismolot::cli {

enum class Action { Render, Help, Version, ListStyles, ListFonts };

struct Options {
    Action action = Action::Render;
    EffectSettings settings;
    bool fontGiven = false; // otherwise the default sans-serif family
    QString output = QStringLiteral("pismolot.bmp");
    QSize screen{1920, 1080};
    int dpi = 96;
};

struct ParseResult {
    std::optional<Options> options; // empty when the arguments are bad
    QString error;                  // one line, for standard error
};

// Reads the command line (without the program name).
ParseResult parseArguments(const QStringList& args);

// Whether `output` names a PNG file (ends in .png, any case).
bool wantsPng(const QString& output);

QString usage();

inline constexpr int MinDpi = 24;
inline constexpr int MaxDpi = 1440;
inline constexpr int MaxScreenSide = 16384;

} // namespace pismolot::cli
