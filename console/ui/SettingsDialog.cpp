#include "console/ui/SettingsDialog.h"

#include "platform/StringTable.h"
#include "console/script/ConsoleText.h"
#include "console/ui/CategoryFormats.h"
#include "console/ui/ConsoleCommandIds.h"
#include "console/ui/ConsolePrompts.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <limits>
#include <optional>

namespace qb::console::ui {
namespace {

struct FieldRule {
    const char* label;
    uint32_t maximum;
};

// The four fields of one window, in the order of the Editor page.
constexpr FieldRule kFieldRules[4] = {
    {"Tab count", kMaxTabCount},
    {"Left margin", kMaxMargin},
    {"Right margin", kMaxMargin},
    {"Undo size", std::numeric_limits<uint32_t>::max()},
};

uint32_t& fieldValue(ConsoleSettings& s, int index)
{
    EditorOptions& o = index < 4 ? s.sqlWindow : s.resultWindow;
    switch (index % 4) {
    case 0:
        return o.tabCount;
    case 1:
        return o.leftMargin;
    case 2:
        return o.rightMargin;
    default:
        return o.undoSize;
    }
}

// Digits only, and no more than an unsigned 32-bit number holds.
std::optional<uint32_t> unsignedValue(const QString& text)
{
    if (text.isEmpty())
        return std::nullopt;
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return std::nullopt;
    bool ok = false;
    const qulonglong v = text.toULongLong(&ok);
    if (!ok || v > std::numeric_limits<uint32_t>::max())
        return std::nullopt;
    return uint32_t(v);
}

// "Please enter an integer value between %i and %i" with the bounds.
QString rangeMessage(uint32_t maximum)
{
    QString message = loadString(kTextRangeMessage);
    for (const uint32_t bound : {0u, maximum}) {
        const qsizetype at = message.indexOf(QStringLiteral("%i"));
        if (at >= 0)
            message.replace(at, 2, QString::number(bound));
    }
    return message;
}

} // namespace

SettingsDialog::SettingsDialog(const ConsoleSettings& settings, ConsolePrompts& prompts, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_prompts(prompts)
{
    setWindowTitle(loadString(kTextSettingsTitle));
    m_tabs = new QTabWidget(this);
    m_tabs->addTab(makeGeneralPage(), QStringLiteral("General"));
    m_tabs->addTab(makeEditorPage(), QStringLiteral("Editor"));
    m_tabs->addTab(makeFormatPage(), QStringLiteral("Format"));
    connect(m_tabs, &QTabWidget::currentChanged, this, &SettingsDialog::pageChanged);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (apply())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this, &SettingsDialog::apply);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
}

QWidget* SettingsDialog::makeGeneralPage()
{
    auto* page = new QWidget;
    m_showData = new QCheckBox(QStringLiteral("show &data during SQL query execution"), page);
    // A stored value outside 0 to 2 shows as unchecked.
    m_showData->setChecked(m_settings.rowsShownDuringExecution());
    auto* delimiter = new QLabel(QStringLiteral("SQL &query delimiter: ") + QStringLiteral(" ' ; '"), page);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_showData);
    layout->addWidget(delimiter);
    layout->addStretch();
    return page;
}

QWidget* SettingsDialog::makeEditorPage()
{
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    const char* windows[2] = {"SQL window", "Result window"};
    for (int w = 0; w < 2; ++w) {
        auto* group = new QGroupBox(QString::fromLatin1(windows[w]), page);
        auto* form = new QFormLayout(group);
        for (int f = 0; f < 4; ++f) {
            const int index = w * 4 + f;
            auto* field = new QLineEdit(QString::number(fieldValue(m_settings, index)), group);
            m_fields[size_t(index)] = field;
            form->addRow(QString::fromLatin1(kFieldRules[f].label), field);
        }
        layout->addWidget(group);
    }
    return page;
}

QWidget* SettingsDialog::makeFormatPage()
{
    auto* page = new QWidget;
    m_categories = new QListWidget(page);
    for (int i = 0; i < kCategoryCount; ++i)
        m_categories->addItem(categoryName(i));
    m_fontButton = new QPushButton(QStringLiteral("Change &font"), page);
    m_colourButton = new QPushButton(QStringLiteral("Change co&lour"), page);
    m_sample = new QLabel(QStringLiteral("AaBbCcXxYyZz"), page);
    m_sample->setAlignment(Qt::AlignCenter);
    m_sample->setMinimumHeight(48);
    m_sample->setFrameShape(QFrame::StyledPanel);
    m_sample->setAutoFillBackground(true);
    auto* keywordsLabel = new QLabel(QStringLiteral("&Keywords*:"), page);
    m_keywords = new QLineEdit(m_settings.keywords, page);
    keywordsLabel->setBuddy(m_keywords);
    auto* note = new QLabel(QStringLiteral("* - Keywords should be specified in the following format:\n") +
                                QStringLiteral("<key_1>,<key_2>, ... ,<key_n>"),
                            page);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_fontButton);
    buttons->addWidget(m_colourButton);
    buttons->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(m_categories, 1);
    top->addLayout(buttons);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addWidget(m_sample);
    layout->addWidget(keywordsLabel);
    layout->addWidget(m_keywords);
    layout->addWidget(note);

    connect(m_categories, &QListWidget::currentRowChanged, this, &SettingsDialog::categoryChanged);
    connect(m_fontButton, &QPushButton::clicked, this, &SettingsDialog::chooseFont);
    connect(m_colourButton, &QPushButton::clicked, this, &SettingsDialog::chooseColour);
    connect(m_keywords, &QLineEdit::textEdited, this, &SettingsDialog::takeKeywords);
    m_categories->setCurrentRow(0);
    categoryChanged();
    return page;
}

void SettingsDialog::categoryChanged()
{
    m_keywords->setEnabled(m_categories->currentRow() == kSqlKeywords);
    showSample();
}

void SettingsDialog::showSample()
{
    const int row = m_categories->currentRow();
    if (row < 0 || row >= kCategoryCount)
        return;
    const TextCategory& c = m_settings.categories[size_t(row)];
    m_sample->setFont(categoryFont(c));
    QPalette pal = m_sample->palette();
    pal.setColor(QPalette::WindowText, categoryColor(c));
    pal.setColor(QPalette::Window, Qt::white);
    m_sample->setPalette(pal);
}

void SettingsDialog::takeKeywords()
{
    m_settings.keywords = m_keywords->text();
}

void SettingsDialog::setCategoryFont(const QFont& font, const QColor& colour)
{
    const int row = m_categories->currentRow();
    if (row < 0 || row >= kCategoryCount)
        return;
    TextCategory& c = m_settings.categories[size_t(row)];
    c = categoryFrom(c, font, colour);
    showSample();
}

void SettingsDialog::chooseFont()
{
    const int row = m_categories->currentRow();
    if (row < 0)
        return;
    const TextCategory& c = m_settings.categories[size_t(row)];
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, categoryFont(c), this, categoryName(row));
    if (ok)
        setCategoryFont(font, categoryColor(c));
}

void SettingsDialog::chooseColour()
{
    const int row = m_categories->currentRow();
    if (row < 0)
        return;
    const TextCategory& c = m_settings.categories[size_t(row)];
    const QColor colour = QColorDialog::getColor(categoryColor(c), this, categoryName(row));
    if (colour.isValid())
        setCategoryFont(categoryFont(c), colour);
}

bool SettingsDialog::validateEditorPage()
{
    ConsoleSettings checked = m_settings;
    for (int i = 0; i < kEditorFieldCount; ++i) {
        QLineEdit* field = m_fields[size_t(i)];
        const std::optional<uint32_t> value = unsignedValue(field->text());
        const auto focus = [&] {
            m_tabs->setCurrentIndex(EditorPage);
            field->setFocus();
            field->selectAll();
        };
        if (!value) {
            m_prompts.beep();
            focus();
            return false;
        }
        const uint32_t maximum = kFieldRules[i % 4].maximum;
        if (*value > maximum) {
            m_prompts.tell(QMessageBox::Warning, loadString(kTextErrorCaption), rangeMessage(maximum));
            focus();
            return false;
        }
        fieldValue(checked, i) = *value;
    }
    m_settings = checked;
    return true;
}

void SettingsDialog::pageChanged(int index)
{
    if (m_turningBack)
        return;
    if (m_page == EditorPage && index != EditorPage && !validateEditorPage()) {
        m_turningBack = true;
        m_tabs->setCurrentIndex(EditorPage);
        m_turningBack = false;
        return;
    }
    m_page = index;
}

bool SettingsDialog::apply()
{
    if (!validateEditorPage())
        return false;
    // An unusual stored value that still shows as it was stays as it was.
    if (m_showData->isChecked() != m_settings.rowsShownDuringExecution())
        m_settings.showDataDuringExec = m_showData->isChecked() ? 1 : 0;
    m_settings.keywords = m_keywords->text();
    emit applied(m_settings);
    return true;
}

} // namespace qb::console::ui
