#pragma once

#include "midi/VxcConversion.h"

#include <QDialog>

#include <memory>

class QComboBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QListView;
class QModelIndex;
class QPushButton;
class QRadioButton;

namespace toneloft {

class QtConverterProcess;

// The DX-to-SY conversion window: places, folders and files to pick the DX7
// source and then the SY77 output, the options, and OK / Cancel / Exit. The
// steps, the settings file and the converter run live in VxcConversion.
class frmVXCconversion : public QDialog {
    Q_OBJECT

public:
    // programDirectory holds the converter and receives vxc.ini. Without a
    // process of its own the window runs the converter through QProcess.
    frmVXCconversion(UiServices& ui, const QString& programDirectory, QWidget* parent = nullptr,
                     ConverterProcess* process = nullptr);
    ~frmVXCconversion() override;

    VxcConversion& conversion() { return *m_conversion; }
    QString folder() const { return m_folder; }
    void setFolder(const QString& folder);

    QComboBox* placeList() const { return m_places; }
    QListView* folderList() const { return m_folders; }
    QListView* fileList() const { return m_files; }
    QFileSystemModel* fileModel() const { return m_fileModel; }
    QLineEdit* textBox() const { return m_text; }
    QLineEdit* sourceBox() const { return m_source; }
    QLineEdit* outputBox() const { return m_output; }
    QRadioButton* option(int index) const { return index == 0 ? m_allInOne : m_onePerSet; }
    QLabel* instructionLabel() const { return m_instruction; }
    QPushButton* button(int index) const; // 0 OK, 1 Cancel, 2 Exit

    // The names the file list shows: the folder's files that match the pattern.
    QStringList fileListNames() const;

public Q_SLOTS:
    void okClicked();
    void cancelClicked();
    void exitClicked();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fileDoubleClicked(const QModelIndex& index);
    void fileClicked(const QModelIndex& index);
    void folderActivated(const QModelIndex& index);
    void takeFile(const QString& name);
    void applyPattern();
    void sync();

    std::unique_ptr<QtConverterProcess> m_ownProcess;
    std::unique_ptr<VxcConversion> m_conversion;
    QString m_folder;
    bool m_running = false;

    QComboBox* m_places;
    QListView* m_folders;
    QListView* m_files;
    QFileSystemModel* m_folderModel;
    QFileSystemModel* m_fileModel;
    QLineEdit* m_text;
    QLineEdit* m_source;
    QLineEdit* m_output;
    QRadioButton* m_allInOne;
    QRadioButton* m_onePerSet;
    QLabel* m_instruction;
    QLabel* m_folderLabel;
    QPushButton* m_buttons[3];
};

class frmStartup;

// Puts the conversion window behind the main window's Tools command: one window
// for the run, shown again as it was left.
void installVxcConversionCommand(frmStartup& mainWindow);

} // namespace toneloft
