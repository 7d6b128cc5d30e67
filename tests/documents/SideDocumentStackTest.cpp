#include "documents/SideDocumentStack.h"

#include "documents/SideDocumentStackView.h"
#include "documents/ViewerWindows.h"
#include "platform/Diagnostics.h"
#include "support/FakePanels.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class SideDocumentStackTest : public testing::Test {
protected:
    SideDocumentStackTest() {
        // The keyboard state is the application's: a plain click lets go of any modifier that an
        // earlier click in this process held.
        QWidget somewhere;
        QTest::mouseClick(&somewhere, Qt::LeftButton);
    }

    QUrl makeFile(const QString& name,
                  QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner) {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not much\n");
        file.close();
        file.setPermissions(permissions);
        return QUrl::fromLocalFile(file.fileName());
    }

    QTemporaryDir folder;
    FakePanels panels;
    ViewerWindows viewers;
    std::vector<PlaylistEntryPtr> selected;
    std::vector<QUrl> chosen;
    std::vector<QUrl> opened;
    SideDocumentStack stack{panels, viewers,
                            SideDocumentStack::Hooks{[this] { return selected; },
                                                     [this](auto done) { done(chosen); },
                                                     [this](const QUrl& url) {
                                                         opened.push_back(url);
                                                         return true;
                                                     }}};
};

QStringList titles(const SideDocumentStackView& view) {
    QStringList result;
    for (const QToolButton* button : view.buttons())
        result << button->text();
    return result;
}

} // namespace

TEST_F(SideDocumentStackTest, AddsChosenFilesToEverySelectedEntryOnceAndRemovesOnConfirm) {
    auto first = std::make_shared<PlaylistEntry>(QUrl::fromLocalFile("/music/a.mp3"), 60.0);
    auto second = std::make_shared<PlaylistEntry>(QUrl::fromLocalFile("/music/b.mp3"), 60.0);
    const QUrl sheet = makeFile("Cues.pdf");
    const QUrl video = makeFile("Walkthrough.mp4");
    second->sideDocuments.push_back(std::make_shared<SideDocument>(sheet, "pdf"));
    selected = {first, second};
    chosen = {sheet, video};
    SideDocumentStackView view(stack);
    QSignalSpy dirty(&stack, &SideDocumentStack::documentsChanged);
    stack.setCurrentEntry(first);
    EXPECT_EQ(titles(view), QStringList{"+"});

    // The second entry had the sheet already: only the video is new. Adding the same files again
    // changes nothing and leaves the session clean.
    QTest::mouseClick(view.buttons().front(), Qt::LeftButton);
    QTest::mouseClick(view.buttons().front(), Qt::LeftButton);
    EXPECT_EQ(titles(view), (QStringList{"+", "pdf", "mp4"}));
    ASSERT_EQ(second->sideDocuments.size(), 2u);
    EXPECT_EQ(second->sideDocuments[1]->url, video);
    EXPECT_EQ(dirty.count(), 1);

    // A modifier click asks before removing, and opens nothing.
    panels.confirmAnswer = false;
    QTest::mouseClick(view.buttons()[1], Qt::LeftButton, Qt::AltModifier);
    EXPECT_EQ(panels.questions, QStringList{"Remove file button?|Remove|Cancel"});
    EXPECT_EQ(first->sideDocuments.size(), 2u);
    panels.confirmAnswer = true;
    QTest::mouseClick(view.buttons()[1], Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(titles(view), (QStringList{"+", "mp4"}));
    EXPECT_TRUE(opened.empty());
}

TEST_F(SideDocumentStackTest, TheTagDecidesWhereADocumentOpensAndProgramsAreRefused) {
    DiagnosticCapture output;
    const auto click = [&](const QUrl& url) {
        stack.buttonClicked(std::make_shared<SideDocument>(url, QFileInfo(url.path()).suffix()));
    };

    const QUrl capitals = makeFile("Sheet.PDF");
    click(capitals);
    EXPECT_EQ(opened, std::vector{capitals});
    EXPECT_EQ(viewers.pdfViewController(), nullptr);
    click(makeFile("Sheet.pdf"));
    EXPECT_NE(viewers.pdfViewController(), nullptr);
    qputenv("QT_MEDIA_BACKEND", "ffmpeg");
    click(makeFile("Demo.mp4"));
    EXPECT_NE(viewers.mp4ViewController(), nullptr);
    EXPECT_EQ(opened.size(), 1u);
    output.clear();

    click(makeFile("run.sh", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    click(makeFile("launcher.desktop"));
    // A script without the execute bit is still a script by its type.
    click(makeFile("setup.py"));
    click(QUrl::fromLocalFile(folder.filePath("missing.doc")));
    click(QUrl("https://example.org/cues.doc"));
    const QUrl target = makeFile("tool.sh", QFile::ReadOwner | QFile::ExeOwner);
    const QString link = folder.filePath("innocent.txt");
    ASSERT_TRUE(QFile::link(target.toLocalFile(), link));
    click(QUrl::fromLocalFile(link));
    EXPECT_EQ(opened.size(), 1u);
    EXPECT_EQ(output.lines().size(), 6) << output.lines().join('\n').toStdString();
    EXPECT_TRUE(output.lines()[0].endsWith("it is a program or desktop entry"));
    EXPECT_TRUE(output.lines()[3].endsWith("it is not a regular file"));
}
