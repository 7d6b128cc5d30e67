#pragma once
// The main window's live displays: the 0.1 s tick that records the heard range and refreshes
// only when the position moved, the since-zero and remaining times, the entry name, the note of
// the moment (or the track's folder), the slider's position and the current row's played cell.

#include <QFont>
#include <QObject>
#include <QSizeF>
#include <QTimer>
#include <chrono>
#include <memory>

class EntryCommandHost;
class MainView;
class Player;
class TextNote;

class DisplayController : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds tickInterval{100};

    DisplayController(MainView& view, Player& player, EntryCommandHost& host,
                      QObject* parent = nullptr);

    // The tick: records the heard range, reads the position once, refreshes when it moved.
    void updateElapsedTime();
    void updateDisplays();

    // The bold monospaced-digit font of the two times, sized so that "99:59" fits the
    // since-zero field.
    void fitTimeFonts();
    static QFont timeFont(double pointSize);
    static double fittedTimeFontSize(QSizeF frame);

    // The note shown, none when none applies.
    const std::shared_ptr<TextNote>& currentNote() const { return _currentNote; }
    // While the note is edited, the displays leave the note and the field's text alone.
    void setNoteHeld(bool held) { noteHeld = held; }

    const QTimer& ticker() const { return _ticker; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // The current row's "PlayedColumn" cell needs repainting (never the whole table).
    void playedCellChanged(int row);

private:
    void updateDisplays(double t);
    void showNoEntry();
    void setText(class QLabel* label, const QString& text, bool enabled);

    MainView& view;
    Player& player;
    EntryCommandHost& host;
    QTimer _ticker;
    std::shared_ptr<TextNote> _currentNote;
    bool noteHeld = false;
};
