#include "shell/ui_font.h"

#include <QStringList>

#include "render/fonts.h"

namespace mirvane::shell {

QFont UiFont() {
    QFont font;
    const QString family = SheetFontFamily();
    if (!family.isEmpty()) {
        font.setFamilies({family});
    }
    font.setPixelSize(13);
    font.setWeight(QFont::Normal);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

}  // namespace mirvane::shell
