#include "localization/ui_text.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace mirvane {
namespace {

using Translations = std::array<std::u8string_view, kUiLanguageCount>;

struct TextRow {
    TextId id;
    Translations texts;  // in UiLanguage order
};

// Each text stands on one line, unbroken, so that it can be found as it is shown.
// clang-format off
constexpr std::array<TextRow, kTextIdCount> kUiStrings = {{
    {TextId::TaglineText,
     {u8"Turn years into a story.",
      u8"Jahre werden zur Geschichte.",
      u8"Racontez une histoire en images.",
      u8"Convierte años en una historia."}},
    {TextId::SourceArchiveLabel,
     {u8"SOURCE ARCHIVE",
      u8"BILDARCHIV",
      u8"ARCHIVES",
      u8"ARCHIVO"}},
    {TextId::SelectYearsLabel,
     {u8"Select 2-6 years",
      u8"2-6 Jahre auswählen",
      u8"Choisir 2 à 6 années",
      u8"Selecciona de 2 a 6 años"}},
    {TextId::ComposeButtonText,
     {u8"Compose sheet",
      u8"Blatt erstellen",
      u8"Composer la planche",
      u8"Componer hoja"}},
    {TextId::OpenSavedPairButtonText,
     {u8"Open saved pair",
      u8"Gespeichertes Paar",
      u8"Ouvrir une paire",
      u8"Abrir par guardado"}},
    {TextId::ColumnsLabel,
     {u8"Columns",
      u8"Spalten",
      u8"Colonnes",
      u8"Columnas"}},
    {TextId::PngWidthLabel,
     {u8"PNG width",
      u8"PNG-Breite",
      u8"Largeur PNG",
      u8"Ancho PNG"}},
    {TextId::ExportButtonText,
     {u8"Export PNG",
      u8"PNG exportieren",
      u8"Exporter PNG",
      u8"Exportar PNG"}},
    {TextId::OpenExportsButtonText,
     {u8"Open exports",
      u8"Exporte öffnen",
      u8"Ouvrir les exports",
      u8"Abrir exportaciones"}},
    {TextId::HelpButtonText,
     {u8"Help",
      u8"Hilfe",
      u8"Aide",
      u8"Ayuda"}},
    {TextId::HideToTrayButtonText,
     {u8"Hide to tray",
      u8"Im Infobereich",
      u8"Masquer",
      u8"Ocultar"}},
    {TextId::ExitText,
     {u8"Exit",
      u8"Beenden",
      u8"Quitter",
      u8"Salir"}},
    {TextId::OpenAppText,
     {u8"Open Mirvane",
      u8"Mirvane öffnen",
      u8"Ouvrir Mirvane",
      u8"Abrir Mirvane"}},
    {TextId::ReadyStatus,
     {u8"Ready. Your contact sheet is fully offline.",
      u8"Bereit. Das Kontaktblatt ist vollständig offline.",
      u8"Prêt. Votre planche est entièrement hors ligne.",
      u8"Listo. La hoja funciona totalmente sin conexión."}},
    {TextId::SelectYearsStatus,
     {u8"Select between 2 and 6 years, then compose the sheet.",
      u8"Zwischen 2 und 6 Jahre auswählen und das Blatt erstellen.",
      u8"Choisissez entre 2 et 6 années puis composez la planche.",
      u8"Selecciona entre 2 y 6 años y compón la hoja."}},
    {TextId::PairOpenFailedStatus,
     {u8"Cannot open this pair. Use 1-3 valid local Quillmere .qmp files. The current sheet is unchanged.",
      u8"Paar nicht lesbar. 1-3 gültige lokale Quillmere-Dateien (.qmp) verwenden. Das Blatt bleibt erhalten.",
      u8"Paire illisible. Utilisez 1 à 3 fichiers locaux Quillmere (.qmp) valides. La planche est conservée.",
      u8"No se puede abrir. Usa de 1 a 3 archivos locales Quillmere (.qmp) válidos. Se conserva la hoja."}},
    {TextId::ExportFailedStatus,
     {u8"Export failed. Check disk space and folder permissions; the previous files are unchanged.",
      u8"Export fehlgeschlagen. Speicherplatz und Ordnerrechte prüfen. Vorhandene Dateien bleiben erhalten.",
      u8"Échec de l'export. Vérifiez l'espace disque et les droits. Les fichiers existants sont conservés.",
      u8"Error de exportación. Revisa el espacio y los permisos. Los archivos anteriores se conservan."}},
    {TextId::ExportDoneStatus,
     {u8"PNG exported. Select Open exports to view the file.",
      u8"PNG exportiert. Mit Exporte öffnen die Datei anzeigen.",
      u8"PNG exporté. Ouvrez les exports pour voir le fichier.",
      u8"PNG exportado. Abre las exportaciones para ver el archivo."}},
    {TextId::SavedMomentsTitle,
     {u8"Saved moments",
      u8"Gespeicherte Momente",
      u8"Instants enregistrés",
      u8"Momentos guardados"}},
    {TextId::DropHintText,
     {u8"Or drop 1-3 Quillmere .qmp pairs into this window.",
      u8"Oder 1-3 Quillmere-Paare (.qmp) hier ablegen.",
      u8"Ou déposez ici 1 à 3 paires Quillmere (.qmp).",
      u8"O suelta aquí de 1 a 3 pares Quillmere (.qmp)."}},
    {TextId::OpenPairDialogTitle,
     {u8"Open a Quillmere pair",
      u8"Quillmere-Paar öffnen",
      u8"Ouvrir une paire Quillmere",
      u8"Abrir un par de Quillmere"}},
    {TextId::PairPathLabel,
     {u8"Full path to a local .qmp file",
      u8"Vollständiger Pfad zu einer lokalen .qmp-Datei",
      u8"Chemin complet du fichier .qmp local",
      u8"Ruta completa del archivo .qmp local"}},
    {TextId::OpenPairButtonText,
     {u8"Open pair",
      u8"Paar öffnen",
      u8"Ouvrir la paire",
      u8"Abrir par"}},
    {TextId::CancelButtonText,
     {u8"Cancel",
      u8"Abbrechen",
      u8"Annuler",
      u8"Cancelar"}},
    {TextId::HelpText, {}},  // joined from kHelpParagraphs
    {TextId::SheetHeadingText,
     {u8"CHRONOLOGICAL CONTACT SHEET",
      u8"CHRONOLOGISCHES KONTAKTBLATT",
      u8"PLANCHE CHRONOLOGIQUE",
      u8"HOJA CRONOLÓGICA"}},
    {TextId::PreviewLabel,
     {u8"SHEET PREVIEW",
      u8"BLATTVORSCHAU",
      u8"APERÇU",
      u8"VISTA PREVIA"}},
    {TextId::OfflineBadgeText,
     {u8"Offline studio / No account",
      u8"Offline-Studio / Ohne Konto",
      u8"Studio hors ligne / Sans compte",
      u8"Estudio sin conexión / Sin cuenta"}},
    {TextId::LanguageNameText,
     {u8"English",
      u8"Deutsch",
      u8"Français",
      u8"Español"}},
    {TextId::PairCreditText,
     {u8"Source: Quillmere pair files / Original photo rights apply",
      u8"Quelle: Quillmere-Dateien / Bildrechte beachten",
      u8"Source : fichiers Quillmere / Droits des photos applicables",
      u8"Fuente: archivos Quillmere / Se aplican los derechos originales"}},
}};
// clang-format on

constexpr bool RowsFollowIds() {
    for (std::size_t i = 0; i < kUiStrings.size(); ++i) {
        if (static_cast<std::size_t>(kUiStrings[i].id) != i) {
            return false;
        }
    }
    return true;
}
static_assert(RowsFollowIds(), "each row of the text table must sit at the index of its id");

// The help window's text in UiLanguage order, one paragraph per entry; the heading is the same
// in every language.
constexpr std::u8string_view kHelpHeading = u8"Mirvane 1.0";
// clang-format off
constexpr std::array<std::array<std::u8string_view, 7>, kUiLanguageCount> kHelpParagraphs = {{
    {kHelpHeading,
     u8"Choose a location and tick 2-6 years, then Compose sheet. Frames are sorted by year. Set 2 or 3 columns and export at 3000 or 4500 pixels wide. Photos keep their proportions and are never cropped.",
     u8"Open saved pair accepts a local Quillmere .qmp file. Drop up to three .qmp files to combine their photos into one sheet. This replaces the preview only after all input files pass validation. It does not change the original files.",
     u8"PNG exports are saved with unique names in LocalAppData/Mirvane/Exports. Open exports shows that folder. The current preview is not restored after exiting; export it before exit.",
     u8"Close hides Mirvane to the tray. Use the tray menu or Exit to stop it. No automatic startup, network access, telemetry, login or upload.",
     u8"The 71-image archive is embedded, including full-resolution originals for export. NASA Earth Observatory / NASA / USGS. Some images use false color. No NASA endorsement.",
     u8"English, German, French and Spanish follow the Windows UI language. All other UI languages use English. The local clock follows Windows time zone and time format."},
    {kHelpHeading,
     u8"Ort und 2-6 Jahre auswählen, dann Blatt erstellen. Bilder werden chronologisch sortiert. 2 oder 3 Spalten, PNG-Breite 3000 oder 4500 Pixel. Kein Bild wird beschnitten.",
     u8"Gespeichertes Paar öffnet eine lokale Quillmere-Datei (.qmp). Bis zu drei Dateien hier ablegen, um deren Fotos zu kombinieren. Erst nach vollständiger Prüfung wird die Vorschau ersetzt. Quelldateien bleiben unverändert.",
     u8"Exporte liegen unter LocalAppData/Mirvane/Exports. Die Vorschau wird beim Beenden verworfen; vorher exportieren.",
     u8"Schließen blendet die App in den Infobereich aus. Beenden stoppt sie. Kein Autostart, Netzwerk, Konto oder Tracking.",
     u8"71 Originalbilder: NASA Earth Observatory / NASA / USGS. Teilweise Falschfarben. Keine Unterstützung durch NASA.",
     u8"Sprachen: Englisch, Deutsch, Französisch, Spanisch. Sonst Englisch. Zeitzone und Zeitformat folgen Windows."},
    {kHelpHeading,
     u8"Choisissez un lieu et 2 à 6 années puis composez la planche. Les images sont triées par année. Choisissez 2 ou 3 colonnes et une largeur de 3000 ou 4500 pixels. Les photos ne sont pas recadrées.",
     u8"Ouvrir une paire accepte un fichier local Quillmere (.qmp). Déposez jusqu'à trois fichiers pour combiner leurs photos. La prévisualisation est remplacée après validation complète. Les originaux restent intacts.",
     u8"Exports dans LocalAppData/Mirvane/Exports. La prévisualisation n'est pas conservée à la fermeture : exportez avant de quitter.",
     u8"Fermer masque dans la zone de notification. Quitter arrête l'application. Aucun réseau, compte, suivi ni démarrage automatique.",
     u8"71 images originales : NASA Earth Observatory / NASA / USGS. Certaines en fausses couleurs. Sans approbation de la NASA.",
     u8"Langues : anglais, allemand, français, espagnol. Sinon anglais. Heure et fuseau suivent Windows."},
    {kHelpHeading,
     u8"Elige un lugar y entre 2 y 6 años y compón la hoja. Las imágenes se ordenan por año. Elige 2 o 3 columnas y un ancho de 3000 o 4500 píxeles. Las fotos no se recortan.",
     u8"Abrir par acepta un archivo local Quillmere (.qmp). Suelta hasta tres archivos para combinar sus fotos. La vista se reemplaza tras validar todo. Los originales no se modifican.",
     u8"Exportaciones en LocalAppData/Mirvane/Exports. La vista no se restaura al salir: exporta primero.",
     u8"Cerrar oculta en la bandeja. Salir detiene la aplicación. Sin red, cuentas, seguimiento ni inicio automático.",
     u8"71 imágenes originales: NASA Earth Observatory / NASA / USGS. Algunas en falso color. Sin respaldo de NASA.",
     u8"Idiomas: inglés, alemán, francés y español. Otros: inglés. Hora y zona siguen Windows."},
}};

constexpr Translations kExportProgressStatus = {
    u8"Rendering full-resolution PNG...",
    u8"PNG in voller Auflösung wird erstellt...",
    u8"Création du PNG en pleine résolution...",
    u8"Creando PNG a resolución completa..."};

constexpr Translations kBrowseButtonText = {
    u8"Browse…",
    u8"Durchsuchen…",
    u8"Parcourir…",
    u8"Examinar…"};
// clang-format on

QString FromUtf8(std::u8string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Paragraphs are separated by one empty line, with no line break after the last.
QString HelpTextIn(int languageIndex) {
    const auto& paragraphs = kHelpParagraphs[static_cast<std::size_t>(languageIndex)];
    QString help = FromUtf8(paragraphs.front());
    for (std::size_t i = 1; i < paragraphs.size(); ++i) {
        help += u"\r\n\r\n";
        help += FromUtf8(paragraphs[i]);
    }
    return help;
}

}  // namespace

QString UiTextIn(TextId id, UiLanguage language) {
    const auto row = static_cast<int>(id);
    if (row < 0 || row >= kTextIdCount) {
        return {};
    }
    const int column = LanguageIndex(language);
    if (id == TextId::HelpText) {
        return HelpTextIn(column);
    }
    return FromUtf8(
        kUiStrings[static_cast<std::size_t>(row)].texts[static_cast<std::size_t>(column)]);
}

QString UiText(TextId id) {
    return UiTextIn(id, uiLanguage);
}

QString ExportProgressStatus(UiLanguage language) {
    return FromUtf8(kExportProgressStatus[static_cast<std::size_t>(LanguageIndex(language))]);
}

QString BrowseButtonText(UiLanguage language) {
    return FromUtf8(kBrowseButtonText[static_cast<std::size_t>(LanguageIndex(language))]);
}

}  // namespace mirvane
