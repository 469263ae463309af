#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace toneloft {

// A list's identity: file name, file type, number of voices and of banks.
class frmFileProperties : public QDialog {
    Q_OBJECT

public:
    explicit frmFileProperties(QWidget* parent = nullptr);

    void setProperties(const QString& fileName, const QString& fileType, long patches, long banks);

    QString fileNameText() const;
    QString fileTypeText() const;
    QString patchesText() const;
    QString banksText() const;
    QPushButton* cmdOK() const { return m_ok; }

private:
    QLabel* m_fileName;
    QLabel* m_fileType;
    QLabel* m_patches;
    QLabel* m_banks;
    QPushButton* m_ok;
};

} // namespace toneloft
