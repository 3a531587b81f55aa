#pragma once
// "Binary Viewer": the hex view of one value, with an about box. Edits made in the view are the
// viewer's own and go with it.
#include <QDialog>
#include <memory>

namespace bryndle {

class CHexEditBase;
class HexBuffer;

class BinaryViewerDialog : public QDialog {
    Q_OBJECT
public:
    BinaryViewerDialog(std::unique_ptr<HexBuffer> data, QWidget* parent = nullptr);

    CHexEditBase* hexView() const { return m_view; }

    static void showAbout(QWidget* parent);

private:
    CHexEditBase* m_view;
};

} // namespace bryndle
