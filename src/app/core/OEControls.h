#pragma once

class FlexGrid;
class IntervalTimer;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Every control of the main window, by the name the program knows it by. The window creates
// and owns them; each subsystem is handed this struct and touches only what its handlers use.
// Option button pairs are indexed by element number 0 and 1.
struct OEControls {
    // Frames of the page area and the parameter page
    QGroupBox* Cell = nullptr;
    QGroupBox* Frame1 = nullptr;
    QGroupBox* OeFrame = nullptr;
    QGroupBox* DisFrame = nullptr;
    QGroupBox* HangFrame = nullptr;
    QGroupBox* LieFrame = nullptr;

    // Bottom row
    QComboBox* Combo1 = nullptr;
    QPushButton* Pre = nullptr;
    QPushButton* NextB = nullptr;
    QPushButton* Undo = nullptr;
    QPushButton* Complete = nullptr;
    QPushButton* Open = nullptr;
    QPushButton* DownLoad = nullptr;
    QLabel* PickCount = nullptr;  // picks made on the row and column pages, e.g. "5/16"

    // Inside Cell
    QLabel* Label1 = nullptr;
    QLineEdit* LedWidth = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* LedHeigh = nullptr;
    QLabel* Label3 = nullptr;
    QComboBox* LedColor = nullptr;
    QLabel* Label4 = nullptr;
    QComboBox* LedScan = nullptr;
    QLabel* Label5 = nullptr;
    QComboBox* LedInNum = nullptr;

    // Inside Frame1
    QLabel* Label11 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLabel* Label7 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLabel* Label8 = nullptr;
    QLineEdit* Text3 = nullptr;
    QLabel* Label9 = nullptr;
    QLineEdit* Text4 = nullptr;
    QLabel* Label10 = nullptr;
    QLineEdit* Text5 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QLabel* Label6 = nullptr;

    // Inside the step frames
    QGroupBox* OeDisFrame = nullptr;
    QRadioButton* OeDis[2] = {nullptr, nullptr};
    QGroupBox* OeSelectFrame = nullptr;
    QRadioButton* OeSelect[2] = {nullptr, nullptr};
    IntervalTimer* OeTimer = nullptr;
    QGroupBox* DisDisFrame = nullptr;
    QRadioButton* DisDis[2] = {nullptr, nullptr};
    QGroupBox* DisSelectFrame = nullptr;
    QRadioButton* DisSelect[2] = {nullptr, nullptr};
    IntervalTimer* DisTimer = nullptr;
    FlexGrid* HangGrid = nullptr;
    FlexGrid* LieGrid = nullptr;
};
