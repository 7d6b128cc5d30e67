#pragma once
// The note field of the main window: a line edit that tells its controller when the user starts
// editing it (first focus or click), when editing ends (Return, focus elsewhere) and when the
// user cancels with Escape. What happens to the note is the NoteEditor's business.

#include <QLineEdit>

class InterceptingTextField : public QLineEdit {
    Q_OBJECT
public:
    explicit InterceptingTextField(QWidget* parent = nullptr);

    bool editing() const { return _editing; }
    // Ends an edit in progress as Return would, whether or not the field has the keyboard.
    void finishEditing();

signals:
    void editingStarted();
    void editingEnded();
    void editingCancelled();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void start();

    bool _editing = false;
};
