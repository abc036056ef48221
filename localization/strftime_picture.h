// Translation of the C library's time format (strftime conversions, as in LC_TIME's T_FMT) into
// the time picture language of time_picture.h.
#pragma once

#include <QString>
#include <QStringView>

namespace mirvane {

// %H -> HH, %k -> H, %I -> hh, %l -> h, %M -> mm, %S -> ss, %p and %P -> tt, %T -> HH:mm:ss,
// %R -> HH:mm, %r -> hh:mm:ss tt; %% is a percent sign, %n and %t a space. The E and O
// modifiers are ignored; the flags '-' and '_' drop the leading zero of %H, %I, %M and %S.
// Conversions a clock has no use for (the zone name, the date, ...) are dropped, and so is white
// space at either end. All other text is kept, quoted where it holds letters.
QString PictureFromStrftime(QStringView format);

}  // namespace mirvane
