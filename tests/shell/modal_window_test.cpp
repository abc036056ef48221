#include "shell/modal_window.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QUrl>
#include <QWindow>
#include <functional>
#include <stdexcept>
#include <utility>
#include <vector>

#include "localization/status_line.h"
#include "localization/ui_text.h"
#include "main_window_fixture.h"
#include "render/palette.h"
#include "shell/export_busy.h"
#include "shell/help_window.h"
#include "shell/open_pair_window.h"
#include "support/pair_files.h"
#include "support/test_images.h"

namespace mirvane::shell::testing {
namespace {

const QString kHelpTitleText = QStringLiteral("Mirvane 1.0");

class ModalWindowTest : public MainWindowTest {
  protected:
    static QWidget* Modal() { return OpenModal(); }

    template <typename Control = QWidget>
    static Control* InModal(int id) {
        return Modal() == nullptr ? nullptr : qobject_cast<Control*>(FindControl(*Modal(), id));
    }
    static QLineEdit* PathBox() { return InModal<QLineEdit>(IDC_PAIR_PATH); }
    static QString ErrorLine() { return InModal<QLabel>(IDC_PAIR_ERROR)->text(); }

    // The texts of the labels without ids, in the order they were made.
    static QStringList PlainLabels(const QWidget& window) {
        QStringList texts;
        for (const QLabel* label : window.findChildren<QLabel*>()) {
            if (!label->property(kControlIdProperty).isValid()) {
                texts.append(label->text());
            }
        }
        return texts;
    }

    // Types `path` into the open-pair window's box and presses Enter there.
    static void EnterPath(const QString& path) {
        PathBox()->setText(path);
        QTest::keyClick(PathBox(), Qt::Key_Return);
    }

    // Lets a closed window's deletion and the activation changes happen.
    static void Settle() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    QString WritePair(const QString& name, std::uint32_t first, std::uint32_t second) {
        const QString path = dir_.filePath(name);
        EXPECT_TRUE(mirvane::testing::WriteGreyPair(path, first, second));
        return path;
    }

    int OwnedWindows() const {
        int count = 0;
        for (const QWidget* child : window_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            count += child->isWindow() ? 1 : 0;
        }
        return count;
    }

    // A click that comes through the window system, where a modal window blocks its owner.
    void ClickThroughWindowSystem(int id) const {
        QWidget* control = Find(id);
        const QPoint centre = control->mapTo(window_.get(), control->rect().center());
        QTest::mouseClick(window_->windowHandle(), Qt::LeftButton, Qt::NoModifier, centre);
    }

    QTemporaryDir dir_;
};

TEST_F(ModalWindowTest, TheMainWindowsButtonsOpenEachWindowInFrontWithItsStartingFocus) {
    Click(103);
    ASSERT_NE(Modal(), nullptr);
    EXPECT_EQ(Modal()->windowTitle(), "Open a Quillmere pair");
    EXPECT_TRUE(Modal()->isVisible());
    EXPECT_EQ(Modal()->parentWidget(), window_.get());
    EXPECT_EQ(Modal()->focusWidget(), PathBox());
    Settle();
    EXPECT_EQ(QApplication::activeWindow(), Modal());

    QTest::keyClick(PathBox(), Qt::Key_Escape);
    EXPECT_EQ(Modal(), nullptr);

    Click(108);
    ASSERT_NE(Modal(), nullptr);
    EXPECT_EQ(Modal()->windowTitle(), kHelpTitleText);
    EXPECT_EQ(Modal()->focusWidget(), InModal(IDC_MODAL_CLOSE));
}

TEST_F(ModalWindowTest, WhileOneIsOpenTheOwnerTakesNoInputAndTabStaysInside) {
    Click(103);
    QWidget* const first = Modal();
    ASSERT_NE(first, nullptr);

    // A second request, by the button or directly, changes nothing.
    Click(108);
    OpenModalWindow(*window_, ModalKind::Help);
    OpenModalWindow(*window_, ModalKind::OpenPair);
    EXPECT_EQ(Modal(), first);
    EXPECT_EQ(Modal()->windowTitle(), "Open a Quillmere pair");
    EXPECT_EQ(OwnedWindows(), 1);

    ClickThroughWindowSystem(110);
    EXPECT_EQ(programEnds_, 0) << "the owner took a click while the modal window was open";

    // Tab walks the path box, Browse…, Open pair and Cancel, and comes round inside the window.
    std::vector<int> order;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(Modal()->focusWidget(), Qt::Key_Tab);
        order.push_back(Modal()->focusWidget()->property(kControlIdProperty).toInt());
    }
    EXPECT_EQ(order,
              (std::vector<int>{IDC_PAIR_BROWSE, IDC_PAIR_OPEN, IDC_MODAL_CLOSE, IDC_PAIR_PATH}));

    QTest::keyClick(PathBox(), Qt::Key_Escape);
    ClickThroughWindowSystem(110);
    EXPECT_EQ(programEnds_, 1) << "the owner takes clicks again once the window is closed";
}

TEST_F(ModalWindowTest, HelpHasOnlyCancelAsTabStop) {
    Click(108);
    ASSERT_NE(Modal(), nullptr);
    QTest::keyClick(Modal()->focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(Modal()->focusWidget(), InModal(IDC_MODAL_CLOSE));
}

TEST_F(ModalWindowTest, NeitherWindowOpensDuringAnExport) {
    SetExportBusy(*window_, true);
    ASSERT_TRUE(Find(108)->isEnabled()) << "Help stays usable during an export";
    Click(108);
    EXPECT_EQ(Modal(), nullptr);
    OpenModalWindow(*window_, ModalKind::OpenPair);
    EXPECT_EQ(Modal(), nullptr);
    EXPECT_EQ(OwnedWindows(), 0);

    SetExportBusy(*window_, false);
    Click(108);
    EXPECT_NE(Modal(), nullptr);
}

TEST_F(ModalWindowTest, EscapeCancelAndTheCloseBoxCloseWithoutAnyChange) {
    const QString pair = WritePair("a.qmp", 1990, 1995);
    SetStatus(TextId::SelectYearsStatus, true);
    const QString status = statusText;

    const std::vector<std::pair<ModalKind, std::function<void()>>> ways = {
        {ModalKind::OpenPair, [] { QTest::keyClick(PathBox(), Qt::Key_Escape); }},
        {ModalKind::OpenPair,
         [] { QTest::mouseClick(InModal<QAbstractButton>(IDC_MODAL_CLOSE), Qt::LeftButton); }},
        {ModalKind::OpenPair, [] { Modal()->close(); }},
        {ModalKind::Help,
         [] { QTest::keyClick(InModal(IDC_HELP_TEXT), Qt::Key_Escape, Qt::NoModifier); }},
        {ModalKind::Help,
         [] { QTest::mouseClick(InModal<QAbstractButton>(IDC_MODAL_CLOSE), Qt::LeftButton); }},
        {ModalKind::Help, [] { Modal()->close(); }},
    };
    for (std::size_t i = 0; i < ways.size(); ++i) {
        const auto& [kind, closeIt] = ways[i];
        SCOPED_TRACE(i);
        OpenModalWindow(*window_, kind);
        ASSERT_NE(Modal(), nullptr);
        if (kind == ModalKind::OpenPair) {
            PathBox()->setText(pair);
        }
        const QPointer<QWidget> modal = Modal();
        closeIt();
        EXPECT_EQ(Modal(), nullptr);
        EXPECT_FALSE(modal->isVisible());
        Settle();
        EXPECT_TRUE(modal.isNull()) << "a closed window is deleted";
        EXPECT_EQ(QApplication::activeWindow(), window_.get());
        EXPECT_EQ(statusText, status);
        EXPECT_EQ(SheetYears(), (std::vector<int>{2000, 2006, 2012, 2018}));
    }
}

TEST_F(ModalWindowTest, EnterOrOpenPairOpensTheTypedPairAndCloses) {
    const QString plain = WritePair("plain.qmp", 2015, 1990);
    const QString quoted = WritePair("with space.QMP", 1970, 1960);
    const QString clicked = WritePair("clicked.qmp", 2003, 2001);

    const auto open = [this](const QString& typed, bool byButton) {
        SetStatus(TextId::SelectYearsStatus, true);
        Click(103);
        ASSERT_NE(Modal(), nullptr);
        if (byButton) {
            PathBox()->setText(typed);
            QTest::mouseClick(InModal<QAbstractButton>(IDC_PAIR_OPEN), Qt::LeftButton);
        } else {
            EnterPath(typed);
        }
        EXPECT_EQ(Modal(), nullptr);
        EXPECT_EQ(statusText, UiText(TextId::ReadyStatus));
        EXPECT_FALSE(statusIsError);
        EXPECT_EQ(currentSheet.title, "Saved moments");
        EXPECT_FALSE(currentSheet.fromArchive);
        Settle();
        EXPECT_EQ(QApplication::activeWindow(), window_.get());
    };

    open(plain, false);
    EXPECT_EQ(SheetYears(), (std::vector<int>{1990, 2015}));
    open('"' + quoted + '"', false);
    EXPECT_EQ(SheetYears(), (std::vector<int>{1960, 1970}));
    open(clicked, true);
    EXPECT_EQ(SheetYears(), (std::vector<int>{2001, 2003}));
    open(QUrl::fromLocalFile(quoted).toString(), false);  // as a file manager copies it
    EXPECT_EQ(SheetYears(), (std::vector<int>{1960, 1970}));
}

TEST_F(ModalWindowTest, ARejectedPathShowsTheErrorLineAndChangesNothingElse) {
    const QString pair = WritePair("a.qmp", 1990, 1995);
    const QString notAPair = dir_.filePath("photo.qmp");
    ASSERT_TRUE(mirvane::testing::WriteBytes(notAPair, mirvane::testing::FlatGreyJpeg(8, 8)));
    SetStatus(TextId::SelectYearsStatus, true);
    const QString status = statusText;

    Click(103);
    QWidget* const modal = Modal();
    ASSERT_NE(modal, nullptr);
    EXPECT_TRUE(ErrorLine().isEmpty());

    // Only one pair of surrounding quotes is taken off; nothing else is trimmed.
    const QStringList rejected = {
        QStringLiteral("\"\""),  QString(),  QStringLiteral("\""), dir_.filePath("missing.qmp"),
        QStringLiteral("a.qmp"), notAPair,   ' ' + pair,           " \"" + pair + '"',
        "\"\"" + pair + "\"\"",  '"' + pair, pair + ".bak"};
    for (const QString& typed : rejected) {
        SCOPED_TRACE(typed.toStdString());
        EnterPath(typed);
        EXPECT_EQ(Modal(), modal);
        EXPECT_TRUE(modal->isVisible());
        EXPECT_EQ(ErrorLine(), UiText(TextId::PairOpenFailedStatus));
        EXPECT_EQ(PathBox()->text(), typed);
        EXPECT_EQ(statusText, status);
        EXPECT_TRUE(statusIsError);
        EXPECT_EQ(SheetYears(), (std::vector<int>{2000, 2006, 2012, 2018}));
    }

    // The window stays usable: the right path then opens.
    EnterPath(pair);
    EXPECT_EQ(Modal(), nullptr);
    EXPECT_EQ(SheetYears(), (std::vector<int>{1990, 1995}));
}

TEST_F(ModalWindowTest, OneEnterImportsOnceAndAThrowingImportShowsTheErrorLine) {
    std::vector<std::vector<QString>> imports;
    bool throws = false;
    auto* window = new OpenPairWindow(*window_, [&](std::span<const QString> paths) {
        imports.emplace_back(paths.begin(), paths.end());
        if (throws) {
            throw std::runtime_error("import failed");
        }
        return std::optional<Sheet>();
    });
    window->show();
    auto* path = qobject_cast<QLineEdit*>(FindControl(*window, IDC_PAIR_PATH));
    auto* error = qobject_cast<QLabel*>(FindControl(*window, IDC_PAIR_ERROR));
    SetStatus(TextId::SelectYearsStatus, true);
    const QString status = statusText;

    path->setText(QStringLiteral("\"/data/b c.qmp\""));
    QTest::keyClick(path, Qt::Key_Return);
    EXPECT_EQ(imports, (std::vector<std::vector<QString>>{{"/data/b c.qmp"}}));
    QTest::keyClick(path, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(imports.size(), 2u) << "keypad Enter opens the path too";

    throws = true;
    QTest::keyClick(path, Qt::Key_Return);
    EXPECT_EQ(imports.size(), 3u);
    EXPECT_EQ(error->text(), UiText(TextId::PairOpenFailedStatus));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(statusText, status);
    EXPECT_EQ(SheetYears(), (std::vector<int>{2000, 2006, 2012, 2018}));
}

TEST_F(ModalWindowTest, EnterInHelpDoesNothing) {
    SetStatus(TextId::SelectYearsStatus, true);
    const QString status = statusText;
    Click(108);
    QWidget* const help = Modal();
    ASSERT_NE(help, nullptr);
    for (const int id : {IDC_MODAL_CLOSE, IDC_HELP_TEXT}) {
        QTest::keyClick(InModal(id), Qt::Key_Return);
        QTest::keyClick(InModal(id), Qt::Key_Enter, Qt::KeypadModifier);
    }
    EXPECT_EQ(Modal(), help);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(statusText, status);
    EXPECT_EQ(SheetYears(), (std::vector<int>{2000, 2006, 2012, 2018}));
}

// The help text as a text box shows it: one line break between lines.
QString ShownHelp(UiLanguage language) {
    return UiTextIn(TextId::HelpText, language)
        .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

TEST_F(ModalWindowTest, EachWindowSpeaksTheLanguageOfItsCreation) {
    // A language other than the fixture's English: every text must follow it.
    const UiLanguage language = UiLanguage::Spanish;
    SetUiLanguage(language);
    const auto text = [language](TextId id) { return UiTextIn(id, language); };

    OpenModalWindow(*window_, ModalKind::OpenPair);
    ASSERT_NE(Modal(), nullptr);
    EXPECT_EQ(Modal()->windowTitle(), text(TextId::OpenPairDialogTitle));
    EXPECT_EQ(PlainLabels(*Modal()),
              (QStringList{text(TextId::PairPathLabel), text(TextId::DropHintText)}));
    EXPECT_EQ(InModal<QAbstractButton>(IDC_PAIR_OPEN)->text(), text(TextId::OpenPairButtonText));
    EXPECT_EQ(InModal<QAbstractButton>(IDC_MODAL_CLOSE)->text(), text(TextId::CancelButtonText));
    EnterPath(QString());
    EXPECT_EQ(ErrorLine(), text(TextId::PairOpenFailedStatus));
    Modal()->close();

    OpenModalWindow(*window_, ModalKind::Help);
    ASSERT_NE(Modal(), nullptr);
    EXPECT_EQ(Modal()->windowTitle(), kHelpTitleText);
    EXPECT_EQ(InModal<QPlainTextEdit>(IDC_HELP_TEXT)->toPlainText(), ShownHelp(language));
    EXPECT_EQ(InModal<QAbstractButton>(IDC_MODAL_CLOSE)->text(), text(TextId::CancelButtonText));
    Modal()->close();
}

// The user's language becomes French, delivered to every widget as the application does it.
void SwitchUserLanguageToFrench() {
    const QByteArray saved = qgetenv("LANGUAGE");
    qputenv("LANGUAGE", "fr_FR");
    for (QWidget* widget : QApplication::allWidgets()) {
        QEvent change(QEvent::LocaleChange);
        QCoreApplication::sendEvent(widget, &change);
    }
    if (saved.isNull()) {
        qunsetenv("LANGUAGE");
    } else {
        qputenv("LANGUAGE", saved);
    }
}

TEST_F(ModalWindowTest, AnOpenWindowKeepsItsLanguageWhenTheUsersLanguageChanges) {
    SetUiLanguage(UiLanguage::German);
    Click(108);
    QWidget* const help = Modal();
    ASSERT_NE(help, nullptr);
    ASSERT_EQ(InModal<QAbstractButton>(IDC_MODAL_CLOSE)->text(), "Abbrechen");

    SwitchUserLanguageToFrench();
    ASSERT_EQ(uiLanguage, UiLanguage::French);
    ASSERT_EQ(Find<QAbstractButton>(102)->text(), UiText(TextId::ComposeButtonText));

    EXPECT_EQ(Modal(), help);
    EXPECT_EQ(InModal<QPlainTextEdit>(IDC_HELP_TEXT)->toPlainText(), ShownHelp(UiLanguage::German));
    EXPECT_EQ(InModal<QAbstractButton>(IDC_MODAL_CLOSE)->text(), "Abbrechen");
    EXPECT_EQ(help->windowTitle(), kHelpTitleText);
    help->close();

    // The open-pair window's error line, too, speaks the window's language.
    SetUiLanguage(UiLanguage::German);
    Click(103);
    ASSERT_NE(Modal(), nullptr);
    SwitchUserLanguageToFrench();
    EnterPath(QString());
    EXPECT_EQ(ErrorLine(), UiTextIn(TextId::PairOpenFailedStatus, UiLanguage::German));
    EXPECT_EQ(Modal()->windowTitle(), UiTextIn(TextId::OpenPairDialogTitle, UiLanguage::German));
}

TEST_F(ModalWindowTest, SizeAndPlaceFollowTheOwnerAndStayFixed) {
    window_->move(37, 41);
    const std::vector<std::pair<ModalKind, QSize>> kinds = {{ModalKind::OpenPair, {694, 326}},
                                                            {ModalKind::Help, {694, 581}}};
    for (const auto& [kind, size] : kinds) {
        SCOPED_TRACE(static_cast<int>(kind));
        OpenModalWindow(*window_, kind);
        ASSERT_NE(Modal(), nullptr);
        EXPECT_EQ(Modal()->size(), size);
        EXPECT_EQ(Modal()->minimumSize(), size);
        EXPECT_EQ(Modal()->maximumSize(), size);
        EXPECT_EQ(Modal()->frameGeometry().topLeft(),
                  window_->frameGeometry().topLeft() + QPoint(180, 90));
        const Qt::WindowFlags flags = Modal()->windowFlags();
        EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
        EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
        for (const QWidget* control : Modal()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            EXPECT_TRUE(Modal()->rect().contains(control->geometry()))
                << control->metaObject()->className();
        }
        Modal()->close();
    }
}

TEST_F(ModalWindowTest, PaperAndBodyInkAndDropsOnlyOnTheOpenPairWindow) {
    for (const ModalKind kind : {ModalKind::OpenPair, ModalKind::Help}) {
        SCOPED_TRACE(static_cast<int>(kind));
        OpenModalWindow(*window_, kind);
        ASSERT_NE(Modal(), nullptr);
        const QImage look = Modal()->grab().toImage();
        EXPECT_EQ(look.pixel(2, 2), palette::kPaper);
        EXPECT_EQ(look.pixel(look.width() - 3, look.height() - 3), palette::kPaper);

        // The open-pair window itself decides what every drop onto it does.
        EXPECT_EQ(Modal()->acceptDrops(), kind == ModalKind::OpenPair);
        for (const QWidget* child : Modal()->findChildren<QWidget*>()) {
            EXPECT_FALSE(child->acceptDrops()) << child->metaObject()->className();
        }
        for (QWidget* text : {InModal(IDC_PAIR_PATH), InModal(IDC_HELP_TEXT)}) {
            if (text != nullptr) {
                EXPECT_EQ(text->palette().color(QPalette::Base).rgba(), palette::kPaper);
                EXPECT_EQ(text->palette().color(QPalette::Text).rgba(), palette::kBody);
            }
        }
        for (const QLabel* label : Modal()->findChildren<QLabel*>()) {
            EXPECT_EQ(label->palette().color(label->foregroundRole()).rgba(), palette::kBody);
        }
        Modal()->close();
    }
}

TEST_F(ModalWindowTest, BrowseIsLabelledInEachLanguage) {
    const std::pair<UiLanguage, QString> labels[] = {{UiLanguage::English, "Browse…"},
                                                     {UiLanguage::German, "Durchsuchen…"},
                                                     {UiLanguage::French, "Parcourir…"},
                                                     {UiLanguage::Spanish, "Examinar…"}};
    for (const auto& [language, label] : labels) {
        SetUiLanguage(language);
        OpenModalWindow(*window_, ModalKind::OpenPair);
        ASSERT_NE(Modal(), nullptr);
        EXPECT_EQ(InModal<QAbstractButton>(IDC_PAIR_BROWSE)->text(), label);
        Modal()->close();
    }
}

// The open-pair window made directly, with the import and the file chooser in the test's hands.
class OpenPairSeamTest : public ModalWindowTest {
  protected:
    void SetUp() override {
        ModalWindowTest::SetUp();
        window = new OpenPairWindow(
            *window_,
            [this](std::span<const QString> paths) {
                imports.emplace_back(paths.begin(), paths.end());
                return std::optional<Sheet>();
            },
            [this](QWidget& parent, const QString& start) {
                EXPECT_EQ(&parent, window);
                starts.append(start);
                if (endOwnerWhileChoosing) {
                    window_.reset();
                }
                return chosen;
            });
        window->show();
        path = qobject_cast<QLineEdit*>(FindControl(*window, IDC_PAIR_PATH));
    }
    void Browse() const {
        QTest::mouseClick(qobject_cast<QAbstractButton*>(FindControl(*window, IDC_PAIR_BROWSE)),
                          Qt::LeftButton);
    }

    OpenPairWindow* window = nullptr;
    QLineEdit* path = nullptr;
    QString chosen;
    bool endOwnerWhileChoosing = false;
    QStringList starts;
    std::vector<std::vector<QString>> imports;
};

TEST_F(OpenPairSeamTest, BrowsePutsTheChosenFileIntoTheBoxAndOpensNothing) {
    chosen = "/data/pairs/summer 2010.qmp";
    Browse();
    EXPECT_EQ(path->text(), chosen);
    EXPECT_TRUE(imports.empty());
    EXPECT_TRUE(window->isVisible());

    // Cancelled: the box keeps what it had. The chooser starts in the box's folder, if any.
    const QString folder = dir_.path();
    path->setText(QUrl::fromLocalFile(dir_.filePath("a.qmp")).toString());
    chosen.clear();
    Browse();
    EXPECT_EQ(path->text(), QUrl::fromLocalFile(dir_.filePath("a.qmp")).toString());
    path->setText("/no/such/folder/a.qmp");
    Browse();
    EXPECT_EQ(starts, (QStringList{QDir::homePath(), folder, QDir::homePath()}));

    QTest::keyClick(path, Qt::Key_Return);
    EXPECT_EQ(imports, (std::vector<std::vector<QString>>{{"/no/such/folder/a.qmp"}}));
}

// A drag as the desktop delivers it: entering, then dropping, at one point of `target`. True
// when the drop was taken as a copy.
bool DropOnto(QWidget& target, QPoint at, const QMimeData& data,
              Qt::DropActions actions = Qt::CopyAction) {
    QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &enter);
    if (!enter.isAccepted()) {
        return false;
    }
    QDropEvent drop(QPointF(at), actions, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &drop);
    return drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
}

QMimeData* Files(const QStringList& paths) {
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const QString& path : paths) {
        urls.append(QUrl::fromLocalFile(path));
    }
    data->setUrls(urls);
    return data;
}

constexpr QPoint kOnHint(300, 140);
constexpr QPoint kOnPathBox(100, 75);

TEST_F(ModalWindowTest, FilesDroppedOntoTheOpenPairWindowOpenAsOnTheMainWindow) {
    const QString a = WritePair("a.qmp", 2001, 2020);
    const QString b = WritePair("b.qmp", 2015, 1990);
    const QString broken = dir_.filePath("broken.qmp");
    ASSERT_TRUE(mirvane::testing::WriteBytes(broken, mirvane::testing::FlatGreyJpeg(8, 8)));
    SetStatus(TextId::SelectYearsStatus, true);
    const QString status = statusText;

    Click(103);
    ASSERT_NE(Modal(), nullptr);
    // Refused: all or nothing, more than three files, and a drag that would move the files.
    for (const QStringList& paths : {QStringList{a, broken}, QStringList{a, a, a, a}}) {
        SCOPED_TRACE(paths.join(", ").toStdString());
        const std::unique_ptr<QMimeData> data(Files(paths));
        EXPECT_TRUE(DropOnto(*Modal(), kOnHint, *data));
        ASSERT_NE(Modal(), nullptr);
        EXPECT_EQ(ErrorLine(), UiText(TextId::PairOpenFailedStatus));
        EXPECT_EQ(statusText, status);
        EXPECT_EQ(SheetYears(), (std::vector<int>{2000, 2006, 2012, 2018}));
    }
    const std::unique_ptr<QMimeData> pairs(Files({b, a}));
    EXPECT_FALSE(DropOnto(*Modal(), kOnHint, *pairs, Qt::MoveAction));
    EXPECT_EQ(SheetYears(), (std::vector<int>{2000, 2006, 2012, 2018}));

    EXPECT_TRUE(DropOnto(*Modal(), kOnHint, *pairs));
    EXPECT_EQ(Modal(), nullptr);
    EXPECT_EQ(SheetYears(), (std::vector<int>{1990, 2001, 2015, 2020}));
    EXPECT_EQ(statusText, UiText(TextId::ReadyStatus));
    EXPECT_FALSE(statusIsError);
}

// The tray's Exit may end the program while the chooser shows.
TEST_F(OpenPairSeamTest, TheWindowMayGoWhileTheChooserIsOpen) {
    const QPointer<OpenPairWindow> open = window;
    endOwnerWhileChoosing = true;
    chosen = "/data/a.qmp";
    qobject_cast<QAbstractButton*>(FindControl(*window, IDC_PAIR_BROWSE))->click();
    EXPECT_TRUE(open.isNull());
}

TEST_F(OpenPairSeamTest, OneItemDroppedOntoThePathBoxGoesIntoItToBeOpenedAsTyped) {
    const std::unique_ptr<QMimeData> file(Files({"/data/a b.qmp"}));
    EXPECT_TRUE(DropOnto(*window, kOnPathBox, *file));
    EXPECT_EQ(path->text(), "/data/a b.qmp");

    QMimeData address;
    address.setText("file:///data/c%20d.qmp");
    EXPECT_FALSE(DropOnto(*window, kOnHint, address)) << "text is for the path box only";
    EXPECT_TRUE(DropOnto(*window, kOnPathBox, address));
    EXPECT_EQ(path->text(), "file:///data/c%20d.qmp");
    EXPECT_TRUE(imports.empty());
    QTest::keyClick(path, Qt::Key_Return);

    // Several files are opened wherever they land.
    const std::unique_ptr<QMimeData> files(Files({"/data/e.qmp", "/data/f.qmp"}));
    EXPECT_TRUE(DropOnto(*window, kOnPathBox, *files));
    EXPECT_EQ(imports, (std::vector<std::vector<QString>>{{"/data/c d.qmp"},
                                                          {"/data/e.qmp", "/data/f.qmp"}}));
}

TEST(PairPathOfText, ReadsFileUrlsAsTheLocalPathsTheyName) {
    const std::pair<const char*, const char*> cases[] = {
        {"/data/a b.qmp", "/data/a b.qmp"},
        {"\"/data/a b.qmp\"", "/data/a b.qmp"},
        {"file:///data/a%20b.qmp", "/data/a b.qmp"},
        {"\"file:///data/a.qmp\"", "/data/a.qmp"},
        {"FILE:///data/a.qmp", "/data/a.qmp"},
        {"file://localhost/data/a.qmp", "/data/a.qmp"},
        {"file:/data/a.qmp", "/data/a.qmp"},
        {"file://server/share/a.qmp", ""},
        {"https://example.org/a.qmp", "https://example.org/a.qmp"},
    };
    for (const auto& [text, path] : cases) {
        EXPECT_EQ(PairPathOfText(text), path) << text;
    }
}

TEST_F(ModalWindowTest, AnOpenWindowGoesWithItsOwner) {
    Click(108);
    const QPointer<QWidget> help = Modal();
    ASSERT_FALSE(help.isNull());
    window_.reset();
    EXPECT_TRUE(help.isNull());
    EXPECT_EQ(Modal(), nullptr);
}

// As a click on the blocked window, a second start or the tray does it: the keyboard must still
// reach the modal window, where Escape closes it.
TEST_F(ModalWindowTest, ActivatingTheOwnerHandsTheKeyboardToTheOpenWindow) {
    const std::vector<std::pair<const char*, std::function<void()>>> activations = {
        {"the window system", [this] { window_->activateWindow(); }},
        {"a second start or the tray", [this] { window_->Restore(); }},
    };
    for (const auto& [how, activate] : activations) {
        Click(108);
        ASSERT_NE(Modal(), nullptr);
        activate();
        EXPECT_TRUE(QTest::qWaitFor([] { return QApplication::activeWindow() == Modal(); }, 5000))
            << how;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        Settle();
        EXPECT_EQ(Modal(), nullptr) << how << ": Escape reached the modal window";
        EXPECT_TRUE(window_->isVisible());
    }
}

TEST_F(ModalWindowTest, TheOpenWindowHidesAndComesBackWithItsOwner) {
    const std::vector<std::pair<const char*, std::function<void()>>> hides = {
        {"minimized", [this] { window_->showMinimized(); }},
        {"hidden", [this] { window_->hide(); }},
    };
    for (const auto& [how, hide] : hides) {
        Click(108);
        QWidget* help = Modal();
        ASSERT_NE(help, nullptr);
        hide();
        QCoreApplication::processEvents();
        EXPECT_FALSE(help->isVisible()) << how;
        window_->Restore();
        EXPECT_TRUE(window_->isVisible()) << how;
        EXPECT_TRUE(help->isVisible()) << how;
        EXPECT_TRUE(QTest::qWaitFor([help] { return QApplication::activeWindow() == help; }, 5000))
            << how;
        help->close();
        Settle();
    }
}

TEST(UnquotedPath, TakesOffOnePairOfSurroundingQuotesOnly) {
    EXPECT_EQ(UnquotedPath("\"/a b.qmp\""), "/a b.qmp");
    EXPECT_EQ(UnquotedPath("\"\""), "");
    EXPECT_EQ(UnquotedPath("\""), "\"");
    EXPECT_EQ(UnquotedPath("\"\"/a.qmp\"\""), "\"/a.qmp\"");
    EXPECT_EQ(UnquotedPath(" \"/a.qmp\""), " \"/a.qmp\"");
    EXPECT_EQ(UnquotedPath("\"/a.qmp"), "\"/a.qmp");
}

}  // namespace
}  // namespace mirvane::shell::testing
