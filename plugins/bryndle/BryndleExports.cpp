// The plug-in's C exports. Nothing escapes them: every failure becomes a false answer with a
// text saying why.
#include "BinaryViewerDialog.h"
#include "StreamHexBuffer.h"

#include <quillbase/qbplugin.h>

#include <QApplication>
#include <QByteArray>
#include <QWidget>
#include <string>

namespace {

// The text of the last failure, in both encodings; empty: none.
std::u16string g_error;
std::string g_errorUtf8;

void setError(const QString& text)
{
    g_error = text.toStdU16String();
    g_errorUtf8 = text.toStdString();
}

QString resultText(QbResult r)
{
    return QStringLiteral("0x%1").arg(quint32(r), 8, 16, QLatin1Char('0')).toUpper().replace(QStringLiteral("0X"), QStringLiteral("0x"));
}

} // namespace

QB_PLUGIN_EXPORT const char* GetMenuItemNameA()
{
    return "Binary viewer";
}

QB_PLUGIN_EXPORT const char16_t* GetMenuItemNameW()
{
    return u"Binary viewer";
}

QB_PLUGIN_EXPORT QbBool TestBLOB(const BlobValue*)
{
    return 1; // any value is bytes
}

QB_PLUGIN_EXPORT const char* GetLastErrorTextA()
{
    return g_errorUtf8.empty() ? nullptr : g_errorUtf8.c_str();
}

QB_PLUGIN_EXPORT const char16_t* GetLastErrorTextW()
{
    return g_error.empty() ? nullptr : g_error.c_str();
}

// Written into the host's record field by field, each cut to its capacity.
static void setField(char16_t* field, size_t capacity, const char16_t* text)
{
    size_t i = 0;
    for (; i + 1 < capacity && text[i]; ++i)
        field[i] = text[i];
    field[i] = 0;
}

QB_PLUGIN_EXPORT QbBool GetModuleDescriptionW(PluginDescription* out)
{
    if (!out)
        return 0;
    setField(out->name, QB_DESCRIPTION_NAME_UNITS, u"Bryndle hex viewer");
    setField(out->version, QB_DESCRIPTION_VERSION_UNITS, u"1.0.4");
    setField(out->copyright, QB_DESCRIPTION_COPYRIGHT_UNITS, u"Copyright (C) Marrowind. All rights reserved.");
    setField(out->description, QB_DESCRIPTION_TEXT_UNITS,
             u"Shows any value as a hex dump with its characters; selection, copy and paste.");
    setField(out->languages, QB_DESCRIPTION_LANGUAGES_UNITS, u"English");
    return 1;
}

QB_PLUGIN_EXPORT QbBool ShowAboutBox(QbWindow parent)
{
    try {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
            return 0;
        bryndle::BinaryViewerDialog::showAbout(static_cast<QWidget*>(parent));
        return 1;
    } catch (...) {
        return 0;
    }
}

QB_PLUGIN_EXPORT QbBool ShowBLOB(QbWindow parent, int, BlobValue* value)
{
    try {
        setError({});
        if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
            setError(QStringLiteral("The binary viewer needs the application's windows."));
            return 0;
        }
        if (!value || !value->stream) {
            setError(QStringLiteral("The binary viewer got no value to show."));
            return 0;
        }
        QbResult r = QB_S_OK;
        auto data = std::make_unique<bryndle::StreamHexBuffer>(value->stream, &r);
        if (QB_FAILED(r)) {
            setError(QStringLiteral("The value cannot be read (error %1).").arg(resultText(r)));
            return 0;
        }
        // The first lines are read before the dialog opens, so a stream that cannot be read is
        // told, not shown as an empty or garbled view.
        unsigned char probe[16];
        const size_t probeSize = size_t(std::min<uint64_t>(sizeof probe, data->length()));
        if (!data->read(0, probe, probeSize)) {
            setError(QStringLiteral("The value cannot be read (error %1).").arg(resultText(data->lastFailure())));
            return 0;
        }
        auto* owner = static_cast<QWidget*>(parent);
        bryndle::BinaryViewerDialog dialog(std::move(data), owner);
        dialog.exec();
        return 1;
    } catch (const std::exception& e) {
        setError(QStringLiteral("The binary viewer failed: %1").arg(QString::fromUtf8(e.what())));
    } catch (...) {
        setError(QStringLiteral("The binary viewer failed."));
    }
    return 0;
}
