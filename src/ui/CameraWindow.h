#pragma once

#include <QStringList>
#include <QWidget>

#include "camera/CameraSnapshot.h"

class CameraPictureView;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

// The camera window (相机): the live picture with what was read drawn over it, what the walk
// does or why it stopped, what the newest picture reads, the source chooser (the cameras found
// and any http:// address typed in), the picture's rotation and mirror, and the start button
// (F5). Esc pauses the walk and closing the window pauses it too; neither ends anything.
class CameraWindow : public QWidget {
    Q_OBJECT
public:
    explicit CameraWindow(QWidget* parent = nullptr);

    // The sources to offer, and the one in use (shown in the box).
    void setSources(const QStringList& sources, const QString& current);
    void setOrientation(int turnDegrees, bool mirrored);
    void showStatus(const QString& text, bool needsUser);
    void showSnapshot(const CameraSnapshot& snapshot);
    void setRunning(bool running);

    CameraPictureView* pictureView() const { return m_picture; }
    QComboBox* sourceBox() const { return m_source; }
    QComboBox* rotationBox() const { return m_rotation; }
    QCheckBox* mirrorBox() const { return m_mirror; }
    QPushButton* startButton() const { return m_start; }
    QLabel* statusLabel() const { return m_status; }
    QLabel* readingLabel() const { return m_reading; }

    // What a reading says, in words: "第 3 行 第 5 列" or why it names no LED.
    static QString describe(const CameraReading& reading);

Q_SIGNALS:
    void sourceChosen(const QString& text);
    void orientationChosen(int turnDegrees, bool mirrored);
    void startPressed();
    void pauseWanted();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* createControls();

    CameraPictureView* m_picture = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_reading = nullptr;
    QComboBox* m_source = nullptr;
    QComboBox* m_rotation = nullptr;
    QCheckBox* m_mirror = nullptr;
    QPushButton* m_start = nullptr;
};
