#include "explorer/plugins/ui/PluginsDialog.h"

#include "explorer/plugins/ExternalBlobPlugin.h"
#include "explorer/plugins/PluginHost.h"
#include "explorer/plugins/PluginText.h"
#include "platform/StringTable.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qb::plugins {
namespace {

constexpr int kEmptyText = 63100;
constexpr int kIdRole = Qt::UserRole + 1; // command id of a plug-in item; 0 elsewhere

QSize designSize(const QFontMetrics& fm)
{
    return {309 * fm.averageCharWidth() / 4, 198 * fm.height() / 8};
}

} // namespace

std::vector<PluginKind> mainWindowElementKinds()
{
    constexpr int kFirstKindText = 57502; // "Data Base", then the folders, "Table", "View"
    constexpr int kFirstTableKindText = 57506;
    std::vector<PluginKind> kinds;
    for (int id = kFirstKindText; id <= kFirstTableKindText + 1; ++id)
        kinds.push_back({loadString(id), id >= kFirstTableKindText});
    return kinds;
}

PluginsDialog::PluginsDialog(const std::vector<PluginKind>& kinds, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Plug-ins"));
    auto* treeLabel = new QLabel(QStringLiteral("Loaded &plug-ins:"), this);
    m_tree = new QTreeWidget(this);
    m_tree->setHeaderHidden(true);
    treeLabel->setBuddy(m_tree);

    auto* details = new QFormLayout;
    for (const char* caption : {"Type:", "Name:", "Version:", "Copyright:", "Languages:", "Description:"}) {
        auto* value = new QLabel(loadString(kEmptyText), this);
        value->setWordWrap(true);
        value->setTextFormat(Qt::PlainText); // a plug-in's texts are shown as they are
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        details->addRow(QString::fromLatin1(caption), value);
        m_details.push_back(value);
    }

    auto* close = new QPushButton(QStringLiteral("Close"), this);
    auto* add = new QPushButton(QStringLiteral("&Add..."), this);
    auto* remove = new QPushButton(QStringLiteral("&Remove"), this);
    m_configure = new QPushButton(QStringLiteral("&Configurate"), this);
    m_about = new QPushButton(QStringLiteral("A&bout"), this);
    close->setDefault(true);
    add->setEnabled(false);
    remove->setEnabled(false);
    m_configure->setEnabled(false);
    m_about->setEnabled(false);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_about, &QPushButton::clicked, this, [this] {
        if (BlobPlugin* plugin = selectedPlugin())
            plugin->showAbout(static_cast<QWidget*>(this));
    });
    connect(m_configure, &QPushButton::clicked, this, [this] {
        if (BlobPlugin* plugin = selectedPlugin())
            plugin->showConfigure(static_cast<QWidget*>(this));
    });
    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) { showDetails(item); });

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {close, add, remove, m_configure, m_about})
        buttons->addWidget(b);
    buttons->addStretch();
    auto* left = new QVBoxLayout;
    left->addWidget(treeLabel);
    left->addWidget(m_tree, 1);
    left->addLayout(details);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    fill(kinds);
    resize(designSize(fontMetrics()).expandedTo(sizeHint()));
}

void PluginsDialog::fill(const std::vector<PluginKind>& kinds)
{
    m_tree->clear();
    PluginHost* host = PluginHost::instance();
    for (const PluginKind& kind : kinds) {
        auto* root = new QTreeWidgetItem(m_tree, {kind.name});
        const int count = kind.offersPlugins ? PluginHost::count() : 0;
        if (count == 0)
            new QTreeWidgetItem(root, {loadString(kEmptyText)});
        for (int i = 0; i < count; ++i) {
            PluginDescription description;
            PluginHost::pluginAt(i)->getDescription(&description);
            auto* item = new QTreeWidgetItem(root, {readDescription(description).name});
            item->setData(0, kIdRole, host->idAt(i));
        }
        root->setExpanded(true);
    }
    // Open on the first plug-in, so its details are there at once.
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* root = m_tree->topLevelItem(i);
        if (root->childCount() > 0 && root->child(0)->data(0, kIdRole).toInt() != 0) {
            m_tree->setCurrentItem(root->child(0));
            break;
        }
    }
}

BlobPlugin* PluginsDialog::selectedPlugin() const
{
    const QTreeWidgetItem* item = m_tree->currentItem();
    const PluginHost* host = PluginHost::instance();
    if (!item || !host)
        return nullptr;
    return host->pluginById(item->data(0, kIdRole).toInt());
}

void PluginsDialog::showDetails(QTreeWidgetItem*)
{
    BlobPlugin* plugin = selectedPlugin();
    QStringList texts;
    if (plugin) {
        PluginDescription description;
        plugin->getDescription(&description);
        const PluginInfo info = readDescription(description);
        QString type = plugin->isInternal() ? QStringLiteral("Internal plug-in") : QStringLiteral("External plug-in");
        if (const auto* external = dynamic_cast<const ExternalBlobPlugin*>(plugin))
            type += QStringLiteral(" (%1)").arg(QString::fromStdString(external->path()));
        texts = {type, info.name, info.version, info.copyright, info.languages, info.description};
    }
    for (size_t i = 0; i < m_details.size(); ++i) {
        const QString text = i < size_t(texts.size()) ? texts[qsizetype(i)] : QString();
        m_details[i]->setText(text.isEmpty() ? loadString(kEmptyText) : text);
    }
    m_about->setEnabled(plugin && plugin->hasAbout());
    m_configure->setEnabled(plugin && plugin->hasConfigure());
}

QStringList PluginsDialog::details() const
{
    QStringList texts;
    for (const QLabel* label : m_details)
        texts << label->text();
    return texts;
}

} // namespace qb::plugins
