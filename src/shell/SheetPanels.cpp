#include "shell/SheetPanels.h"

#include "platform/audio/AudioFileTypes.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {
// A window-modal dialog that deletes itself once it has answered.
QFileDialog* sheet(QWidget* window, QFileDialog::AcceptMode mode, QFileDialog::FileMode fileMode,
                   const QString& folder) {
    auto* dialog = new QFileDialog(window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setAcceptMode(mode);
    dialog->setFileMode(fileMode);
    if (!folder.isEmpty())
        dialog->setDirectory(folder);
    return dialog;
}

std::optional<QUrl> firstChosen(const QFileDialog& dialog, int result) {
    const QList<QUrl> urls = dialog.selectedUrls();
    if (result != QDialog::Accepted || urls.isEmpty())
        return std::nullopt;
    return urls.first();
}

void answerOne(QFileDialog* dialog, std::function<void(std::optional<QUrl>)> done) {
    QObject::connect(
        dialog, &QDialog::finished, dialog,
        [dialog, done = std::move(done)](int result) { done(firstChosen(*dialog, result)); });
    dialog->open();
}

void answerMany(QFileDialog* dialog, std::function<void(std::vector<QUrl>)> done) {
    QObject::connect(dialog, &QDialog::finished, dialog,
                     [dialog, done = std::move(done)](int result) {
                         std::vector<QUrl> urls;
                         if (result == QDialog::Accepted)
                             for (const QUrl& url : dialog->selectedUrls())
                                 urls.push_back(url);
                         done(urls);
                     });
    dialog->open();
}
} // namespace

void SheetPanels::chooseSessionToOpen(const QString& folder,
                                      std::function<void(std::optional<QUrl>)> done) {
    auto* dialog = sheet(window, QFileDialog::AcceptOpen, QFileDialog::ExistingFile, folder);
    dialog->setWindowTitle(QObject::tr("Open Session"));
    answerOne(dialog, std::move(done));
}

void SheetPanels::chooseSessionToSave(const QString& folder, const QString& proposedName,
                                      std::function<void(std::optional<QUrl>)> done) {
    auto* dialog = sheet(window, QFileDialog::AcceptSave, QFileDialog::AnyFile, folder);
    dialog->setWindowTitle(QObject::tr("Save Session"));
    dialog->setNameFilter(QObject::tr("Varlin sessions (*.varlin)"));
    dialog->setDefaultSuffix(QStringLiteral("varlin"));
    dialog->selectFile(proposedName);
    answerOne(dialog, std::move(done));
}

void SheetPanels::chooseFilesToAdd(std::function<void(std::vector<QUrl>)> done) {
    // A Qt file dialog picks files or a folder, not both: files here, folders by dropping.
    auto* dialog = sheet(window, QFileDialog::AcceptOpen, QFileDialog::ExistingFiles, QString());
    dialog->setWindowTitle(QObject::tr("Add Tracks"));
    // Both cases, for file choosers that match names exactly; the patterns stay out of sight.
    QStringList patterns;
    for (const QString& extension : audioFileExtensions())
        patterns << "*." + extension << "*." + extension.toUpper();
    dialog->setNameFilters(
        {QObject::tr("Audio files (%1)").arg(patterns.join(' ')), QObject::tr("All files (*)")});
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    answerMany(dialog, std::move(done));
}

void SheetPanels::chooseDocuments(QWidget* window, std::function<void(std::vector<QUrl>)> done) {
    auto* dialog = sheet(window, QFileDialog::AcceptOpen, QFileDialog::ExistingFiles, QString());
    dialog->setWindowTitle(QObject::tr("Add an associated document"));
    dialog->setLabelText(QFileDialog::Accept, QObject::tr("Add"));
    answerMany(dialog, std::move(done));
}

void SheetPanels::chooseMovedFile(std::function<void(std::optional<QUrl>)> done) {
    auto* dialog = sheet(window, QFileDialog::AcceptOpen, QFileDialog::ExistingFile, QString());
    dialog->setWindowTitle(QObject::tr("Where Is the Track Now?"));
    answerOne(dialog, std::move(done));
}

void SheetPanels::confirm(const QString& message, const QString& okTitle,
                          const QString& cancelTitle, std::function<void(bool)> done) {
    auto* box =
        new QMessageBox(QMessageBox::Warning, QString(), message, QMessageBox::NoButton, window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    QPushButton* ok = box->addButton(okTitle, QMessageBox::AcceptRole);
    box->addButton(cancelTitle, QMessageBox::RejectRole);
    box->setDefaultButton(ok);
    QObject::connect(box, &QDialog::finished, box,
                     [box, ok, done = std::move(done)](int) { done(box->clickedButton() == ok); });
    box->open();
}
