#include "midi/ui/frmVXCconversion.h"
#include "library/ui/frmStartup.h"

#include <QPointer>

#include "midi/ui/QtConverterProcess.h"

#include "common/InstallPaths.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QVBoxLayout>

namespace toneloft {

namespace {

QString withSeparator(QString folder)
{
    if (!folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    return folder;
}

QStringList patternList(const std::string& pattern)
{
    return QString::fromStdString(pattern).split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

} // namespace

frmVXCconversion::frmVXCconversion(UiServices& ui, const QString& programDirectory, QWidget* parent,
                                   ConverterProcess* process)
    : QDialog(parent)
{
    if (!process) {
        m_ownProcess = std::make_unique<QtConverterProcess>();
        process = m_ownProcess.get();
    }
    const QString programDir = withSeparator(QDir::toNativeSeparators(programDirectory));
    // Installed, the program's folder is not for writing: vxc.ini goes to the user's data folder.
    QString workDir = programDir;
    if (RunsInstalled(programDir.toStdString()) || !IsWritableFolder(programDir.toStdString())) {
        const QString user = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        if (!user.isEmpty() && QDir().mkpath(user))
            workDir = withSeparator(QDir::toNativeSeparators(user));
    }
    m_conversion = std::make_unique<VxcConversion>(ui, *process, programDir.toStdString(), workDir.toStdString());

    setObjectName(QStringLiteral("frmVXCconversion"));
    setWindowTitle(QString::fromLatin1(kVxcCaption));
    setModal(false);

    m_places = new QComboBox(this);
    m_places->setObjectName(QStringLiteral("Drive1"));
    m_places->addItem(QDir::homePath());
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady() && m_places->findText(volume.rootPath()) < 0)
            m_places->addItem(volume.rootPath());

    m_folderModel = new QFileSystemModel(this);
    m_folderModel->setFilter(QDir::AllDirs | QDir::NoDot);
    m_folders = new QListView(this);
    m_folders->setObjectName(QStringLiteral("Dir1"));
    m_folders->setModel(m_folderModel);

    m_fileModel = new QFileSystemModel(this);
    m_fileModel->setFilter(QDir::Files);
    m_fileModel->setNameFilterDisables(false);
    m_files = new QListView(this);
    m_files->setObjectName(QStringLiteral("File1"));
    m_files->setModel(m_fileModel);

    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("Text1"));
    m_source = new QLineEdit(this);
    m_source->setObjectName(QStringLiteral("SourceFile"));
    m_source->setReadOnly(true);
    m_output = new QLineEdit(this);
    m_output->setObjectName(QStringLiteral("OutputFile"));
    m_output->setReadOnly(true);

    auto* options = new QGroupBox(QStringLiteral("SY77 Output Options"), this);
    options->setObjectName(QStringLiteral("Frame1"));
    m_allInOne = new QRadioButton(QStringLiteral("&All Voice Sets in one file"), options);
    m_allInOne->setObjectName(QStringLiteral("Option1_0"));
    m_onePerSet = new QRadioButton(QStringLiteral("&One file for each Voice Set"), options);
    m_onePerSet->setObjectName(QStringLiteral("Option1_1"));
    m_allInOne->setChecked(true);
    auto* optionsLayout = new QVBoxLayout(options);
    optionsLayout->addWidget(m_allInOne);
    optionsLayout->addWidget(m_onePerSet);

    m_instruction = new QLabel(this);
    m_instruction->setObjectName(QStringLiteral("Label1"));
    m_instruction->setWordWrap(true);
    m_folderLabel = new QLabel(this);
    m_folderLabel->setObjectName(QStringLiteral("FolderLabel"));

    const char* captions[3] = {"OK", "Cancel", "Exit"};
    const char* tips[3] = {"Accept file selections and start VXC utility", "Cancel Selection",
                           "Close VXC dialog"};
    auto* buttons = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        m_buttons[i] = new QPushButton(QString::fromLatin1(captions[i]), this);
        m_buttons[i]->setObjectName(QStringLiteral("Command1_%1").arg(i));
        m_buttons[i]->setToolTip(QString::fromLatin1(tips[i]));
        m_buttons[i]->setAutoDefault(false);
        buttons->addWidget(m_buttons[i]);
    }
    m_buttons[0]->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_instruction, 0, 0, 1, 2);
    grid->addWidget(m_text, 1, 0);
    grid->addWidget(m_folderLabel, 1, 1);
    grid->addWidget(m_files, 2, 0, 2, 1);
    grid->addWidget(m_folders, 2, 1);
    grid->addWidget(m_places, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("Source File :"), this), 4, 0, 1, 2);
    grid->addWidget(m_source, 5, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Output File :"), this), 6, 0, 1, 2);
    grid->addWidget(m_output, 7, 0, 1, 2);
    grid->addWidget(options, 8, 0, 1, 2);
    grid->addLayout(buttons, 9, 0, 1, 2);
    resize(620, 520);

    connect(m_buttons[0], &QPushButton::clicked, this, &frmVXCconversion::okClicked);
    connect(m_buttons[1], &QPushButton::clicked, this, &frmVXCconversion::cancelClicked);
    connect(m_buttons[2], &QPushButton::clicked, this, &frmVXCconversion::exitClicked);
    // Return in the text box reaches OK as the default button.
    connect(m_files, &QListView::doubleClicked, this, &frmVXCconversion::fileDoubleClicked);
    connect(m_files, &QListView::clicked, this, &frmVXCconversion::fileClicked);
    connect(m_folders, &QListView::doubleClicked, this, &frmVXCconversion::folderActivated);
    connect(m_places, &QComboBox::textActivated, this, [this](const QString& place) { setFolder(place); });

    // The working folder, or its Data folder when it has one.
    QString start = workDir;
    bool found = false;
    if (FindSubDirs(workDir.toStdString(), "Data", found) && found)
        for (const QString& name : QDir(workDir).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            if (name.compare(QLatin1String("Data"), Qt::CaseInsensitive) == 0) {
                start = withSeparator(workDir + name);
                break;
            }
    setFolder(start);
    m_conversion->setViewChanged([this] { sync(); });
    sync();
}

frmVXCconversion::~frmVXCconversion() = default;

QPushButton* frmVXCconversion::button(int index) const
{
    return index >= 0 && index < 3 ? m_buttons[index] : nullptr;
}

void frmVXCconversion::setFolder(const QString& folder)
{
    const QFileInfo info(folder);
    if (!info.isDir())
        return;
    m_folder = withSeparator(QDir::toNativeSeparators(info.absoluteFilePath()));
    m_folderLabel->setText(m_folder);
    m_folders->setRootIndex(m_folderModel->setRootPath(m_folder));
    m_files->setRootIndex(m_fileModel->setRootPath(m_folder));
    applyPattern();
}

QStringList frmVXCconversion::fileListNames() const
{
    return QDir(m_folder).entryList(patternList(m_conversion->filePattern()), QDir::Files, QDir::Name);
}

void frmVXCconversion::applyPattern()
{
    m_fileModel->setNameFilters(patternList(m_conversion->filePattern()));
}

void frmVXCconversion::sync()
{
    const VxcConversion& c = *m_conversion;
    m_instruction->setText(QString::fromStdString(c.instruction()));
    m_source->setText(QString::fromStdString(c.sourceText()));
    m_output->setText(QString::fromStdString(c.outputText()));
    m_allInOne->setEnabled(c.optionsEnabled());
    m_onePerSet->setEnabled(c.optionsEnabled());
    m_text->setText(QString::fromStdString(c.textBoxText()));
    applyPattern();
    if (m_conversion->takeFocusRequest()) {
        m_text->selectAll();
        m_text->setFocus();
    }
}

void frmVXCconversion::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_conversion->Reset();
    sync();
}

void frmVXCconversion::takeFile(const QString& name)
{
    // Events run while the converter is awaited: a second OK then must not
    // start a second run.
    if (m_running)
        return;
    m_running = true;
    m_conversion->TakeFile(m_folder.toStdString(), name.toStdString(), m_onePerSet->isChecked() ? 1 : 0);
    m_running = false;
    sync();
    m_text->selectAll();
    m_text->setFocus();
}

void frmVXCconversion::okClicked()
{
    if (m_running)
        return;
    std::vector<std::string> names;
    for (const QString& n : fileListNames())
        names.push_back(n.toStdString());
    const VxcTextAction a =
        InterpretVxcText(m_text->text().toStdString(), names, m_folder.toStdString(), m_conversion->step());
    using Kind = VxcTextAction::Kind;
    switch (a.kind) {
    case Kind::TakeFile: takeFile(QString::fromStdString(a.file)); return;
    case Kind::SetPattern:
        m_conversion->setFilePattern(a.pattern);
        applyPattern();
        return;
    case Kind::ChangePlace: {
        const QString place = QString::fromStdString(a.folder);
        const int i = m_places->findText(place);
        if (i >= 0) {
            m_places->setCurrentIndex(i);
            setFolder(place);
        } else if (QFileInfo(place).isDir()) {
            setFolder(place);
        }
        m_text->setText(QString::fromStdString(m_conversion->filePattern()));
        return;
    }
    case Kind::ChangeFolder:
        setFolder(QString::fromStdString(a.folder));
        if (!a.file.empty())
            takeFile(QString::fromStdString(a.file));
        return;
    case Kind::OpenSelectedFolder: {
        const QModelIndex selected = m_folders->currentIndex();
        if (selected.isValid())
            folderActivated(selected);
        return;
    }
    }
}

void frmVXCconversion::cancelClicked()
{
    if (m_running)
        return;
    m_conversion->Reset();
    sync();
}

void frmVXCconversion::exitClicked()
{
    if (m_running)
        return;
    m_conversion->Reset();
    close();
}

void frmVXCconversion::fileClicked(const QModelIndex& index)
{
    m_text->setText(m_fileModel->fileName(index));
}

void frmVXCconversion::fileDoubleClicked(const QModelIndex& index)
{
    if (index.isValid())
        takeFile(m_fileModel->fileName(index));
}

void frmVXCconversion::folderActivated(const QModelIndex& index)
{
    if (index.isValid())
        setFolder(m_folderModel->filePath(index));
}

void installVxcConversionCommand(frmStartup& mainWindow)
{
    mainWindow.setCommandHandler(
        MainCommand::ToolsDxToSy, [&mainWindow, window = QPointer<frmVXCconversion>()]() mutable {
            if (!window)
                window = new frmVXCconversion(mainWindow.ui(), mainWindow.programDirectory(), &mainWindow);
            window->show();
            window->raise();
            window->activateWindow();
        });
}

} // namespace toneloft
