#pragma once
// The quick view bar: an outlook-style bar with one folder, "User Objects", whose items are the
// database's three folders (tables, stored procedures, table views). Choosing an item shows that
// folder in the data list; the item of the folder shown is marked.
#include <QWidget>

class QListWidget;
class QPushButton;

namespace qb::ui {

class QuickViewBar : public QWidget {
    Q_OBJECT
public:
    explicit QuickViewBar(QWidget* parent = nullptr);

    // One item per element: its caption, its icon and the element id it shows.
    void addItem(const QString& caption, int imageIndex, int elementId);
    // Marks the item of the element shown (none when another element is shown).
    void markElement(int elementId);
    QListWidget* items() const { return m_items; }

signals:
    void elementChosen(int elementId);

private:
    QPushButton* m_folder;
    QListWidget* m_items;
};

} // namespace qb::ui
