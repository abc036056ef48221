#include "render/fonts.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <atomic>
#include <mutex>

namespace mirvane {
namespace {

constexpr const char* kBundledFaces[] = {":/mirvane/fonts/OpenSans-Regular.ttf",
                                         ":/mirvane/fonts/OpenSans-Bold.ttf"};

// Written once under call_once, then only read: a reader that sees `ready` also sees `family`.
struct Chosen {
    std::once_flag once;
    std::atomic<bool> ready{false};
    QString family;
};

Chosen& TheChoice() {
    static Chosen chosen;
    return chosen;
}

QString ChooseFamily() {
    // Asked of the plain family list: hasFamily() would take fontconfig's substitute for a
    // missing "Segoe UI" as the real one.
    if (QFontDatabase::families().contains(QStringLiteral("Segoe UI"), Qt::CaseInsensitive)) {
        return QStringLiteral("Segoe UI");
    }
    QString bundled;
    for (const char* face : kBundledFaces) {
        const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(face));
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (id < 0 || families.isEmpty()) {
            return QString();
        }
        bundled = families.front();
    }
    return bundled;
}

}  // namespace

bool RegisterFonts() {
    Chosen& chosen = TheChoice();
    if (QGuiApplication::instance() == nullptr && !chosen.ready.load(std::memory_order_acquire)) {
        return false;  // the font database needs the application object
    }
    std::call_once(chosen.once, [&] {
        chosen.family = ChooseFamily();
        chosen.ready.store(true, std::memory_order_release);
    });
    return !chosen.family.isEmpty();
}

QString SheetFontFamily() {
    const Chosen& chosen = TheChoice();
    return chosen.ready.load(std::memory_order_acquire) ? chosen.family : QString();
}

}  // namespace mirvane
