#pragma once
// "Plug-ins": the plug-ins each element kind of the main window offers, and the details of the
// one selected. "A&bout" and "&Configurate" call the plug-in's own about box and settings window
// where it has them; adding and removing plug-ins is done in the plugins folder, so those two
// buttons stay disabled.
#include <QDialog>
#include <QString>
#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace qb::plugins {

class BlobPlugin;

// A root of the tree: an element kind of the main window, in the window's order.
struct PluginKind {
    QString name;
    bool offersPlugins = false; // its cells can be handed to plug-ins
};

// The element kinds of an explorer main window; tables and views hand their cells to plug-ins.
std::vector<PluginKind> mainWindowElementKinds();

class PluginsDialog : public QDialog {
    Q_OBJECT
public:
    PluginsDialog(const std::vector<PluginKind>& kinds, QWidget* parent = nullptr);

    QTreeWidget* tree() const { return m_tree; }
    QPushButton* aboutButton() const { return m_about; }
    QPushButton* configureButton() const { return m_configure; }
    // The detail texts shown: type, name, version, copyright, languages, description.
    QStringList details() const;

private:
    void fill(const std::vector<PluginKind>& kinds);
    void showDetails(QTreeWidgetItem* item);
    BlobPlugin* selectedPlugin() const;

    QTreeWidget* m_tree;
    QPushButton* m_about;
    QPushButton* m_configure;
    std::vector<QLabel*> m_details;
};

} // namespace qb::plugins
