#pragma once

// Tables and look-ups shared by the SOFM trainer tests.

#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QTreeWidget>
#include <cstdio>
#include <string>
#include <vector>

#include "gui/foundation/qimage_frame.h"
#include "gui/foundation/sofm/vx_gui_som.h"
#include "testsupport/gui/gui_test.h"
#include "testsupport/vx_test.h"

namespace sofm_test {

// A table of `rows` rows: `inputs` number columns x0.. in two clusters, a
// text column "name" and the class column.
inline void write_table(const std::string& path, int rows, int inputs)
{
    std::string text;
    for (int k = 0; k < inputs; ++k)
        text += "x" + std::to_string(k) + ",";
    text += "name,Class\n";
    char value[32];
    for (int r = 0; r < rows; ++r) {
        const int cls = r % 2 + 1;
        for (int k = 0; k < inputs; ++k) {
            std::snprintf(value, sizeof value, "%.3f,", cls * 5.0 + 0.01 * ((r * 7 + k) % 13));
            text += value;
        }
        text += "r" + std::to_string(r) + "," + std::to_string(cls) + "\n";
    }
    vx_test::write_file(path, text);
}

// A trainer on the file; what it prints goes to `printed` when given.
inline VxGUISOM* open(const std::string& file, std::string* printed = nullptr)
{
    testing::internal::CaptureStdout();
    auto* trainer = new VxGUISOM(QString::fromStdString(file), QStringLiteral("SOM for"), nullptr,
                                 "SOMAnalysis");
    const std::string out = testing::internal::GetCapturedStdout();
    if (printed != nullptr)
        *printed = out;
    return trainer;
}

inline qimage_frame* frame(QWidget* trainer)
{
    return trainer->findChild<qimage_frame*>();
}

// The data words the display shows.
inline std::vector<int> words(QWidget* trainer)
{
    image* shown = frame(trainer)->get_t_image();
    return std::vector<int>(shown->pixels, shown->pixels + shown->width * shown->height);
}

inline QTreeWidget* column_list()
{
    return qobject_cast<QTreeWidget*>(vx_gui_test::top_level_widget("Attribute Selection"));
}

inline QLineEdit* edit(QWidget* trainer, const char* name)
{
    return trainer->findChild<QLineEdit*>(QString::fromLatin1(name));
}

inline QPushButton* button(QWidget* trainer, const QString& text)
{
    for (QPushButton* b : trainer->findChildren<QPushButton*>())
        if (b->text() == text)
            return b;
    return nullptr;
}

// Clicks the button with its output captured.
inline std::string click(QWidget* trainer, const QString& text)
{
    QPushButton* b = button(trainer, text);
    EXPECT_NE(b, nullptr) << text.toStdString();
    return vx_test::printed_by([b] {
        if (b != nullptr)
            b->click();
    });
}

}  // namespace sofm_test
