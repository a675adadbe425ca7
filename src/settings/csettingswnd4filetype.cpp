#include "settings/csettingswnd4filetype.h"

#include "cglobaldata/cglobaldata.h"
#include "cglobaldata/contentkind.h"
#include "core/settings.h"
#include "formparts/named.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSettings>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

struct CSettingsWnd4FileType::Form {
    QVBoxLayout* verticalLayout;
    QLineEdit* lineEdit_search;
    QStackedWidget* stackedWidget;
    QWidget* page_content;
    QScrollArea* scrollArea;
    QWidget* scrollAreaWidgetContents;
    QLabel* label_text;
    QLabel* label_pic;
    QLabel* label_media;
    QLabel* label_dir;
    QLabel* label_other;
    QPushButton* pushButton_add_text;
    QPushButton* pushButton_remove_text;
    QCheckBox* checkBox_office;
    QWidget* page_404;
    QLabel* label_404;
};

std::function<QString(QWidget*, const QString&)> CSettingsWnd4FileType::s_askOpenFile =
    [](QWidget* parent, const QString& title) { return QFileDialog::getOpenFileName(parent, title); };

namespace {

const QString kSeparator = QStringLiteral("   ");

QGroupBox* GroupOf(QWidget* w)
{
    for (QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (auto* group = qobject_cast<QGroupBox*>(p))
            return group;
    return nullptr;
}

QStringList Matching(const QStringList& suffixes, const QString& text)
{
    QStringList found;
    for (const QString& suffix : suffixes)
        if (suffix.contains(text, Qt::CaseInsensitive))
            found << suffix;
    return found;
}

} // namespace

CSettingsWnd4FileType::CSettingsWnd4FileType(QWidget* parent) : QWidget(parent), m_ui(new Form)
{
    BuildForm();
    FillGroups();
}

CSettingsWnd4FileType::~CSettingsWnd4FileType() { delete m_ui; }

void CSettingsWnd4FileType::BuildForm()
{
    setObjectName(QStringLiteral("CSettingsWnd4FileType"));
    setWindowTitle(tr("Form"));
    m_ui->verticalLayout = Named<QVBoxLayout>("verticalLayout", this);
    m_ui->lineEdit_search = Named<QLineEdit>("lineEdit_search", this);
    m_ui->lineEdit_search->setPlaceholderText(tr("Search file suffix, e.g.: psd"));
    m_ui->lineEdit_search->setClearButtonEnabled(true);
    m_ui->verticalLayout->addWidget(m_ui->lineEdit_search);
    m_ui->stackedWidget = Named<QStackedWidget>("stackedWidget", this);
    m_ui->verticalLayout->addWidget(m_ui->stackedWidget);

    m_ui->page_content = Named<QWidget>("page_content");
    auto* contentLayout = new QVBoxLayout(m_ui->page_content);
    contentLayout->setContentsMargins(0, 0, 0, 0);
    m_ui->scrollArea = Named<QScrollArea>("scrollArea", m_ui->page_content);
    m_ui->scrollArea->setWidgetResizable(true);
    contentLayout->addWidget(m_ui->scrollArea);
    m_ui->scrollAreaWidgetContents = Named<QWidget>("scrollAreaWidgetContents");
    auto* groupsLayout = new QVBoxLayout(m_ui->scrollAreaWidgetContents);

    const struct {
        const char* groupName;
        const char* title;
        const char* labelName;
        QLabel** label;
    } groups[] = {
        {"groupBox_text", QT_TR_NOOP("Text"), "label_text", &m_ui->label_text},
        {"groupBox_pic", QT_TR_NOOP("Picture"), "label_pic", &m_ui->label_pic},
        {"groupBox_media", QT_TR_NOOP("Media"), "label_media", &m_ui->label_media},
        {"groupBox_dir", QT_TR_NOOP("Compressed"), "label_dir", &m_ui->label_dir},
        {"groupBox_other", QT_TR_NOOP("Other"), "label_other", &m_ui->label_other},
    };
    for (const auto& g : groups) {
        auto* group = Named<QGroupBox>(g.groupName, tr(g.title), m_ui->scrollAreaWidgetContents);
        auto* layout = new QVBoxLayout(group);
        *g.label = Named<QLabel>(g.labelName, group);
        layout->addWidget(*g.label);
        groupsLayout->addWidget(group);
    }

    auto* textGroup = GroupOf(m_ui->label_text);
    m_ui->pushButton_add_text = Named<QPushButton>("pushButton_add_text", tr("Add new file suffix"), textGroup);
    m_ui->pushButton_add_text->setCursor(Qt::PointingHandCursor);
    m_ui->pushButton_remove_text =
        Named<QPushButton>("pushButton_remove_text", tr("Remove custom file suffix"), textGroup);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_ui->pushButton_add_text);
    buttons->addWidget(m_ui->pushButton_remove_text);
    buttons->addStretch();
    static_cast<QVBoxLayout*>(textGroup->layout())->addLayout(buttons);

    m_ui->checkBox_office = Named<QCheckBox>("checkBox_office", tr("Support office documents (LibreOffice)"),
                                             m_ui->scrollAreaWidgetContents);
    groupsLayout->addWidget(m_ui->checkBox_office);
    groupsLayout->addStretch();
    m_ui->scrollArea->setWidget(m_ui->scrollAreaWidgetContents);

    m_ui->page_404 = Named<QWidget>("page_404");
    auto* page404Layout = new QVBoxLayout(m_ui->page_404);
    m_ui->label_404 = Named<QLabel>("label_404", m_ui->page_404);
    m_ui->label_404->setText(
        tr("<html><head/><body><p align=\"center\"><img src=\":/face_nohappy.png\"/><span style=\" font-size:18pt; "
           "font-weight:496; color:#333;\"> Oops! </span></p><p align=\"center\"><span style=\" font-size:18pt; "
           "font-weight:496; color:#333;\">No suffixs matched.</span></p></body></html>"));
    page404Layout->addWidget(m_ui->label_404);

    m_ui->stackedWidget->addWidget(m_ui->page_content);
    m_ui->stackedWidget->addWidget(m_ui->page_404);
    connect(m_ui->lineEdit_search, &QLineEdit::textChanged, this,
            &CSettingsWnd4FileType::on_lineEdit_search_textChanged);
    connect(m_ui->pushButton_add_text, &QPushButton::clicked, this,
            &CSettingsWnd4FileType::on_pushButton_add_text_clicked);
    connect(m_ui->pushButton_remove_text, &QPushButton::clicked, this,
            &CSettingsWnd4FileType::on_pushButton_remove_text_clicked);
    connect(m_ui->checkBox_office, &QCheckBox::clicked, this, &CSettingsWnd4FileType::on_checkBox_office_clicked);
}

void CSettingsWnd4FileType::FillGroups()
{
    const CSuffixTables& tables = CGlobalData::Instance().Suffixes();
    m_groupSuffixes[m_ui->label_text] = tables.SuffixesOfKind(MT_TEXT);
    m_groupSuffixes[m_ui->label_pic] = tables.SuffixesOfKind(MT_PICTURE);
    m_groupSuffixes[m_ui->label_media] = tables.SuffixesOfKind(MT_MEDIA);
    m_groupSuffixes[m_ui->label_dir] = tables.SuffixesOfKind(MT_DIR);
    m_groupSuffixes[m_ui->label_other] = tables.SuffixesOfKind(MT_DOCUMENT) + tables.SuffixesOfKind(MT_MARKDOWN);
    if (GetSettingValue(SettingKey::OfficeSupport).toBool())
        m_groupSuffixes[m_ui->label_other] += OfficeSuffixesByContent();
    for (auto it = m_groupSuffixes.cbegin(); it != m_groupSuffixes.cend(); ++it)
        ShowList(it.key(), it.value());
    m_ui->checkBox_office->setChecked(GetSettingValue(SettingKey::OfficeSupport).toBool());
    // Wrapping labels ask for a height for their width; done once the layout has settled.
    QTimer::singleShot(0, this, [this] {
        for (QLabel* label : m_groupSuffixes.keys())
            label->setWordWrap(true);
    });
}

void CSettingsWnd4FileType::ShowList(QLabel* label, const QStringList& suffixes)
{
    label->setText(suffixes.join(kSeparator));
}

bool CSettingsWnd4FileType::IsKnownSuffix(const QString& suffix) const
{
    for (const QStringList& suffixes : m_groupSuffixes)
        if (suffixes.contains(suffix, Qt::CaseInsensitive))
            return true;
    return false;
}

void CSettingsWnd4FileType::on_lineEdit_search_textChanged(QString arg1)
{
    m_ui->stackedWidget->setCurrentWidget(m_ui->page_content);
    for (QLabel* label : m_groupSuffixes.keys())
        GroupOf(label)->setVisible(true);
    const bool searching = !arg1.trimmed().isEmpty();
    m_ui->pushButton_add_text->setVisible(!searching);
    m_ui->checkBox_office->setVisible(!searching);
    if (!searching) {
        for (auto it = m_groupSuffixes.cbegin(); it != m_groupSuffixes.cend(); ++it)
            ShowList(it.key(), it.value());
        return;
    }
    bool anyShown = false;
    for (auto it = m_groupSuffixes.cbegin(); it != m_groupSuffixes.cend(); ++it) {
        ShowList(it.key(), Matching(it.value(), arg1));
        const bool shown = !it.key()->text().isEmpty();
        GroupOf(it.key())->setVisible(shown);
        anyShown = anyShown || shown;
    }
    if (!anyShown)
        m_ui->stackedWidget->setCurrentWidget(m_ui->page_404);
}

void CSettingsWnd4FileType::on_pushButton_add_text_clicked()
{
    const QString path = s_askOpenFile(this, tr("Select your Text format file"));
    if (path.isEmpty())
        return;
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.isEmpty()) // an empty suffix would make every file without one a text file
        return;
    if (IsKnownSuffix(suffix)) {
        m_ui->lineEdit_search->setText(suffix);
        m_ui->lineEdit_search->setFocus();
        m_ui->lineEdit_search->selectAll();
        emit SigShowInfoText("'" + suffix + "'");
        return;
    }
    m_newSuffixes << suffix;
    m_groupSuffixes[m_ui->label_text] << suffix;
    ShowList(m_ui->label_text, m_groupSuffixes[m_ui->label_text]);
}

void CSettingsWnd4FileType::on_pushButton_remove_text_clicked() {}

void CSettingsWnd4FileType::on_checkBox_office_clicked(bool checked)
{
    const QStringList office = CGlobalData::Instance().Suffixes().SuffixesOf(ST_OFFICE) + OfficeSuffixesByContent();
    QStringList& other = m_groupSuffixes[m_ui->label_other];
    if (checked) {
        other << office;
        other.removeDuplicates();
    } else {
        for (const QString& suffix : office)
            other.removeAll(suffix);
    }
    ShowList(m_ui->label_other, other);
}

void CSettingsWnd4FileType::WriteSettings()
{
    QSettings settings;
    settings.setValue(SettingKey::OfficeSupport, m_ui->checkBox_office->isChecked());
    if (!m_newSuffixes.isEmpty()) {
        const QStringList stored = GetSettingValue(SettingKey::TextSupport).toStringList();
        settings.setValue(SettingKey::TextSupport, stored + m_newSuffixes);
    }
    CGlobalData::Instance().RebuildSuffixTables();
}

void CSettingsWnd4FileType::showEvent(QShowEvent* event)
{
    QTimer::singleShot(0, m_ui->lineEdit_search, [edit = m_ui->lineEdit_search] { edit->setFocus(); });
    QWidget::showEvent(event);
}
