#pragma once
// The content of the main window, laid out in code: the since-zero and remaining times in huge
// digits, the entry name and the note field with the place of the side documents at their right,
// the waveform with the time slider over it, the transport panel, and the playlist
// table filling the rest.
// The members are the outlets the controllers write to; the view holds no logic of its own.

#include <QWidget>

class ImageNotifierView;
class InterceptingTextField;
class PlaylistTableView;
class QLabel;
class QStackedWidget;
class Screensaver;
class TagMenu;
class TextNotifierView;
class TimeSlider;
class TransportPanel;
class WaveformView;

class MainView : public QWidget {
    Q_OBJECT
public:
    explicit MainView(QWidget* parent = nullptr);

    QLabel* timeSinceZeroText;
    QLabel* timeRemainingText;
    QLabel* entryName;
    InterceptingTextField* noteTextField;
    WaveformView* waveformView;
    TimeSlider* timeSlider;
    TransportPanel* transportPanel;
    QStackedWidget* sideStack;
    PlaylistTableView* tableView;
    TagMenu* tagMenu;
    ImageNotifierView* imageNotifierView;
    TextNotifierView* textNotifierView;
    Screensaver* screensaver;

signals:
    // A click on the view outside its fields (ends note editing).
    void clickedElsewhere();
    // The size changed (many times during a live resize): the fonts are fitted again.
    void resized();
    // The size settled after a resize: the waveform is drawn again too.
    void resizeEnded();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* timeRow;
    class QTimer* resizeSettle;
};
