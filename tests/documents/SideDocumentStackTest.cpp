// Opening a side document: its tag decides where, and since session files come from other
// people, nothing that could run is handed to the desktop.

#include "documents/SideDocumentStack.h"

#include "documents/ViewerWindows.h"
#include "platform/Diagnostics.h"
#include "support/FakePanels.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(SideDocumentStack, TheTagDecidesWhereADocumentOpensAndProgramsAreRefused) {
    QTemporaryDir folder;
    FakePanels panels;
    ViewerWindows viewers;
    std::vector<QUrl> opened;
    SideDocumentStack stack(panels, viewers, SideDocumentStack::Hooks{{}, {}, [&](const QUrl& url) {
                                                                          opened.push_back(url);
                                                                          return true;
                                                                      }});
    const auto makeFile = [&](const QString& name, QFile::Permissions permissions =
                                                       QFile::ReadOwner | QFile::WriteOwner) {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write("not much\n") > 0);
        file.close();
        file.setPermissions(permissions);
        return QUrl::fromLocalFile(file.fileName());
    };
    DiagnosticCapture output;
    const auto click = [&](const QUrl& url) {
        stack.buttonClicked(std::make_shared<SideDocument>(url, QFileInfo(url.path()).suffix()));
    };
    // The tag compares exactly: "PDF" goes to the desktop, "pdf" to the viewer.
    const QUrl capitals = makeFile("Sheet.PDF");
    click(capitals);
    EXPECT_EQ(opened, std::vector{capitals});
    click(makeFile("Sheet.pdf"));
    EXPECT_NE(viewers.pdfViewController(), nullptr);

    const QString program = "it is a program or desktop entry";
    // A link is judged by its target too: here the target's type gives it away.
    const QUrl tool = makeFile("tool.sh");
    const QString link = folder.filePath("innocent.txt");
    ASSERT_TRUE(QFile::link(tool.toLocalFile(), link));
    const struct {
        QUrl url;
        QString reason;
    } refused[] = {
        {makeFile("run.sh", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner), program},
        {makeFile("launcher.desktop"), program},
        // A script without the execute bit is still a script by its type.
        {makeFile("setup.py"), program},
        {QUrl::fromLocalFile(link), program},
        {QUrl::fromLocalFile(folder.filePath("missing.doc")), "it is not a regular file"},
        {QUrl("https://example.org/cues.doc"), "it is not a local file"},
    };
    for (const auto& file : refused) {
        output.clear();
        click(file.url);
        EXPECT_EQ(output.lines().size(), 1) << file.url.toString().toStdString();
        EXPECT_TRUE(output.lines().value(0).endsWith(file.reason))
            << output.lines().join('\n').toStdString();
    }
    EXPECT_EQ(opened.size(), 1u);
}
