// SPDX-License-Identifier: MIT
#include "window_qt/accessible_names.h"

#include <QHash>

#include "core/category_table.h"
#include "core/control_names.h"
#include "form/control_layout.h"

namespace rv {

namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString Key(std::string_view name, int index = -1) {
    return FromUtf8(ControlKey(name, index));
}

// A caption without the colon that leads to what it labels.
QString Bare(QString caption) {
    return caption.endsWith(u':') ? caption.chopped(1) : caption;
}

// "Maps, already exist" for the counter at that key; empty for any other control. Made once: a
// pass changes a counter's caption for every file it looks at.
QString CounterOf(const QString& key) {
    static const QHash<QString, QString> kCounterNames = [] {
        QHash<QString, QString> made;
        for (const CategoryInfo& category : kCategories) {
            for (std::size_t kind = 0; kind < kCounterKindCount; ++kind) {
                QString column = Bare(FromUtf8(kCounterKinds[kind].frame_caption));
                column.remove(QStringLiteral("File(s) "));
                made.insert(Key(category.counter_label, static_cast<int>(kind)),
                            Bare(FromUtf8(category.row_caption)) + QStringLiteral(", ") + column);
            }
        }
        return made;
    }();
    return kCounterNames.value(key);
}

}  // namespace

QString AccessibleName(const QString& key, const QString& caption) {
    if (const QString counter = CounterOf(key); !counter.isEmpty()) {
        return counter + QStringLiteral(": ") + caption;
    }
    if (key == Key(names::lbl_folder)) {
        return QStringLiteral("Game folder: ") + caption;
    }
    if (key == Key(names::lbl_Mods)) {
        return QStringLiteral("Add-on folder: ") + caption;
    }
    if (key == Key(names::lbl_status)) {
        return QStringLiteral("Status: ") + caption;
    }
    return Bare(caption);
}

QString AccessibleDescription(const QString& key) {
    if (key == Key(names::cmd_Open1)) {
        return QStringLiteral("Choose the game folder");
    }
    if (key == Key(names::cmd_Open2)) {
        return QStringLiteral("Choose the add-on folder");
    }
    return {};
}

}  // namespace rv
