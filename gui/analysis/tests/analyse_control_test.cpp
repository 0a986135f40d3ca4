#include <gtest/gtest.h>

#include <malloc.h>
#include <QDir>

#include <cstdio>
#include <string>
#include <vector>

#include "analyse/trees/region_types.h"
#include "gui/analysis/tests/analysis_test_support.h"
#include "gui/foundation/qimage_frame.h"
#include "testsupport/full_disk.h"
#include "testsupport/gui/gui_test.h"
#include "testsupport/memory_limit.h"

using namespace analysis_test;
using vx_gui_test::dialogs;

namespace {

constexpr char new_name[] = "vx_analyse_control for new_project_dialog";
constexpr char load_name[] = "vx_analyse_control for load_project_dialog";

const std::string default_update_rule =
    "DECLS:\n  conv :=  (4 * area * 3.14176) /(pow((left+ahead+right),2.0));\n areafraction := "
    "area / sons;\n#DECLS\nRULES:\nTD:\n#RULES\n";

std::vector<std::string> names_of(const vx_analyse_control& c)
{
    return {c.openingtreename(),  c.closingtreename(), c.resultname(),
            c.imagename(),        c.brightrulesname(), c.darkrulesname(),
            c.brightresultname(), c.darkresultname(),  c.updaterule()};
}

// The attribute values of the active bright regions, in index order.
std::vector<std::vector<double>> active_values(const vx_analyse_control& c)
{
    std::vector<std::vector<double>> values;
    for (const tregionnode* node : active_nodes(c.opennodelist(), c.onodelistsize())) {
        std::vector<double> row{static_cast<double>(node->label)};
        for (int k = 0; k < node->attribs->capacity; ++k)
            row.push_back(node->attribs->entries[k].dvalue + node->attribs->entries[k].ivalue);
        values.push_back(row);
    }
    return values;
}

class ControlTest : public AnalysisTest {
protected:
    // A controller read from the project file, its trace kept from the log.
    std::unique_ptr<vx_analyse_control> reload(const std::string& vxp)
    {
        std::unique_ptr<vx_analyse_control> control;
        vx_test::printed_by([&] {
            control = std::make_unique<vx_analyse_control>(vxp.c_str(), load_name, 3, nullptr);
        });
        return control;
    }

    static bool applyBright(vx_analyse_control& c)
    {
        bool parsed = false;
        vx_test::printed_by([&] { parsed = c.apply_open_rule(); });
        return parsed;
    }
};

TEST_F(ControlTest, NewAnalysesStartWithTheirDefaultNamesAndState)
{
    vx_analyse_control empty(new_name, 3, nullptr);
    EXPECT_EQ(names_of(empty),
              (std::vector<std::string>{"corvella.bright.tree", "corvella.dark.tree", "Unnamed.png",
                                        "Unknown.png", "Bright_Objects.rule", "Dark_Objects.rule",
                                        "Unknown.png.bright_object.contours",
                                        "Unknown.png.dark_object.contours", "Attributes.rule"}));
    EXPECT_EQ(empty.objectName(), new_name);
    EXPECT_EQ(empty.oscales(), 2);
    EXPECT_EQ(empty.cscales(), 2);
    EXPECT_EQ(empty.generateTreeMode(), 3);
    EXPECT_EQ(empty.displaymode(), 0);
    EXPECT_EQ(empty.invert(), 0);
    EXPECT_EQ(empty.openingtree(), nullptr);
    EXPECT_EQ(empty.dual_analyse(), nullptr);
    EXPECT_EQ(empty.onodelistsize(), 0);
    EXPECT_EQ(empty.pdisplay()->ImageWidth(), 256);
    EXPECT_EQ(empty.image()->width, 256);
    EXPECT_TRUE(empty.loaded());
    EXPECT_FALSE(empty.imageLoaded());

    const std::string path = png(square_on_black());
    vx_analyse_control image(path.c_str(), 4, 6, new_name, 0, nullptr);
    EXPECT_EQ(image.resultname(), std::string("Unnamed.tiff"));
    EXPECT_EQ(image.imagename(), path);
    EXPECT_EQ(image.darkresultname(), path + ".dark_object.contours");
    EXPECT_EQ(image.oscales(), 4);
    EXPECT_EQ(image.cscales(), 6);
    EXPECT_EQ(image.generateTreeMode(), 0);
    EXPECT_TRUE(image.imageLoaded());
    EXPECT_EQ(image.image()->width, 24);

    // The image name renames both contour files; a name that would not
    // fit them is refused, other names up to 499 characters are kept.
    EXPECT_TRUE(image.imagename("other.png"));
    EXPECT_EQ(image.brightresultname(), std::string("other.png.bright_object.contours"));
    EXPECT_EQ(image.darkresultname(), std::string("other.png.dark_object.contours"));
    EXPECT_FALSE(image.imagename(std::string(480, 'i').c_str()));
    EXPECT_EQ(image.imagename(), std::string("other.png"));
    EXPECT_TRUE(image.resultname(std::string(499, 'r').c_str()));
    EXPECT_FALSE(image.resultname(std::string(500, 'r').c_str()));
    EXPECT_EQ(std::string(image.resultname()).size(), 499u);
    image.setUpdateRule(QStringLiteral("update rule.rule"));
    EXPECT_EQ(image.updaterule(), std::string("update rule.rule"));
}

TEST_F(ControlTest, ANewImageAnalysisWritesTheDefaultUpdateRuleOnlyWhereNoneIs)
{
    const std::string path = png(square_on_black());
    const std::string written = vx_test::printed_by(
        [&] { vx_analyse_control control(path.c_str(), 2, 2, new_name, 3, nullptr); });
    EXPECT_NE(written.find("Writing Local Attributes\n"), std::string::npos);
    EXPECT_EQ(vx_test::read_file(file("Attributes.rule")), default_update_rule);
    EXPECT_EQ(default_update_rule.size(), 126u);

    write(file("Attributes.rule"), "RULES: TD: #RULES\n");
    const std::string kept = vx_test::printed_by(
        [&] { vx_analyse_control control(path.c_str(), 2, 2, new_name, 3, nullptr); });
    EXPECT_EQ(kept.find("Writing Local Attributes"), std::string::npos);
    EXPECT_EQ(vx_test::read_file(file("Attributes.rule")), "RULES: TD: #RULES\n");
}

TEST_F(ControlTest, ProjectsRoundTripTheirNamesAndQueriesGiveTheSameHitsAfterSaving)
{
    // Its bright tree is two levels deep: file order is not label order.
    auto control = computed(two_blobs());
    write(control->brightrulesname(), "RULES: TD: area > 25 && area < 40 #RULES\n");
    ASSERT_TRUE(applyBright(*control));
    const auto before = active_values(*control);
    ASSERT_FALSE(before.empty());

    QDir().mkpath(qfile("with blanks"));
    control->openingtreename(file("with blanks/bright tree").c_str());
    control->resultname(std::string(499, 'r').c_str());
    control->brightrulesname(" keeps inner  blanks ");
    const std::string vxp = file("project.vxp");
    ASSERT_TRUE(control->writeProject(vxp.c_str()));
    // Relative names come back from the project's folder, unless they would
    // not fit then.
    std::vector<std::string> expected = names_of(*control);
    for (std::string& name : expected)
        if (name.front() != '/' && file(name).size() <= 499)
            name = file(name);
    expected[4] = file("keeps inner  blanks");
    EXPECT_EQ(vx_test::read_file(file("with blanks/bright tree")).substr(0, 5), "RTHR2");
    EXPECT_EQ(vx_test::read_file(control->closingtreename()).substr(0, 5), "RTHR2");
    EXPECT_EQ(vx_test::lines_of(vx_test::read_file(file("corvella.dark.tree.csv"))).size(),
              static_cast<size_t>(control->closingtree()->regions));

    // The analysis goes on as before: same labels, selection and values.
    EXPECT_EQ(active_values(*control), before);
    control->brightrulesname("Bright_Objects.rule");
    ASSERT_TRUE(applyBright(*control));
    EXPECT_EQ(active_values(*control), before);

    // Read back: the nine names (blanks round the bright rule go) and trees
    // that give the same number of hits.
    auto loaded = reload(vxp);
    ASSERT_TRUE(loaded->loaded()) << loaded->loadFailure().toStdString();
    EXPECT_EQ(names_of(*loaded), expected);
    EXPECT_EQ(loaded->oscales(), 3);
    loaded->brightrulesname("Bright_Objects.rule");
    ASSERT_TRUE(applyBright(*loaded));
    EXPECT_EQ(loaded->activeBrightNodes(), control->activeBrightNodes());
}

TEST_F(ControlTest, AnAnalysisTooBigForTheMemoryLeftLoadsNothingAndSaysSo)
{
    if (vx_test::under_sanitizer)
        GTEST_SKIP() << "the sanitizers reserve more address space than the limit leaves";
    // Arrays go back to the system when freed, so that what the computation
    // below held is not left to the load.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    auto control = computed(picture(2048, 2048, {{100, 100, 600, 400, 200}}), 2, "big.png");
    ASSERT_TRUE(control->writeProject(file("big.vxp").c_str()));
    control.reset();
    EXPECT_EXIT(
        {
            vx_test::limit_address_space(size_t{128} << 20);
            auto loaded = reload(file("big.vxp"));
            std::fputs(loaded->loadFailure().toStdString().c_str(), stderr);
            std::_Exit(loaded->loaded() || loaded->openingtree() != nullptr ? 1 : 0);
        },
        ::testing::ExitedWithCode(0),
        "^Not enough memory to open the analysis of\n.*big.png:\n"
        "both trees of a 2048 x 2048 image need about 1152 MB with their attributes.$");
}

TEST_F(ControlTest, BadProjectsAndTreesLoadNothingAndEndNothing)
{
    auto control = computed(square_on_black());
    ASSERT_TRUE(control->writeProject(file("good.vxp").c_str()));
    const std::string good = vx_test::read_file(file("good.vxp"));
    const auto refused = [&](const std::string& text) {
        write(file("bad.vxp"), text);
        auto bad = reload(file("bad.vxp"));
        EXPECT_FALSE(bad->loaded()) << text;
        EXPECT_TRUE(bad->loadFailure().contains(qfile("bad.vxp"))) << text;
        EXPECT_EQ(bad->openingtree(), nullptr);
        return bad;
    };
    refused("");
    refused(std::string(good).replace(good.find("Darkrule:"), 9, "Darkrules"));
    refused(std::string(good).insert(good.find("Resultname: ") + 12, std::string(500, 'r')));
    EXPECT_FALSE(reload(file("missing.vxp"))->loaded());

    // Trees that are missing, of another kind or of another image size.
    const auto tree_refused = [&](const std::string& tree) {
        std::string text = good;
        text.replace(text.find("corvella.dark.tree"), 18, tree);
        write(file("tree.vxp"), text);
        auto bad = reload(file("tree.vxp"));
        EXPECT_FALSE(bad->loaded()) << tree;
        EXPECT_EQ(bad->openingtree(), nullptr);
        EXPECT_EQ(bad->closingtree(), nullptr);
        EXPECT_EQ(bad->dual_analyse(), nullptr);
        EXPECT_TRUE(bad->loadFailure().contains(QString::fromStdString(tree)))
            << bad->loadFailure().toStdString();
    };
    tree_refused("absent.tree");
    write(file("foreign.tree"), "RTHR2 is not enough");
    tree_refused("foreign.tree");
    auto other = computed(two_blobs(), 3, "small.png");
    other->openingtreename("small.tree");
    other->closingtreename("small dark.tree");
    ASSERT_TRUE(other->writeProject(file("small.vxp").c_str()));
    tree_refused("small dark.tree");
}

TEST_F(ControlTest, ProjectNamesThatDoNotOpenAreLookedForBesideTheProject)
{
    QDir().mkpath(qfile("project"));
    ASSERT_TRUE(QDir::setCurrent(qfile("project")));
    auto control = computed(square_on_black());
    ASSERT_TRUE(control->writeProject("moved.vxp"));
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(dir.path().string())));

    auto loaded = reload(file("project/moved.vxp"));
    ASSERT_TRUE(loaded->loaded()) << loaded->loadFailure().toStdString();
    EXPECT_EQ(loaded->openingtreename(), file("project/corvella.bright.tree"));
    EXPECT_EQ(loaded->updaterule(), file("project/Attributes.rule"));
}

TEST_F(ControlTest, ProjectsAreWrittenWholeOrNotAtAll)
{
    vx_analyse_control empty(new_name, 3, nullptr);
    dialogs().press("Acknowlege");
    EXPECT_FALSE(empty.writeProject(file("empty.vxp").c_str()));

    auto control = computed(square_on_black());
    control->closingtreename(file("no such folder/dark.tree").c_str());
    dialogs().press("Acknowlege");
    EXPECT_FALSE(control->writeProject(file("refused.vxp").c_str()));
    ASSERT_EQ(dialogs().requests().size(), 2u);
    EXPECT_TRUE(dialogs().requests()[1].labels.join("\n").contains("no such folder/dark.tree"));
    EXPECT_FALSE(QFile::exists(qfile("refused.vxp")));
    EXPECT_FALSE(QFile::exists(qfile("corvella.bright.tree")));
    EXPECT_FALSE(QFile::exists(qfile("empty.vxp")));

    // A full disk: the project and a contour file keep their old bytes.
    write(file("square.rule"), "RULES: TD: area > 50 && area < 60 #RULES\n");
    control->brightrulesname(file("square.rule").c_str());
    ASSERT_TRUE(applyBright(*control));
    ASSERT_EQ(control->activeBrightNodes(), 1);
    control->closingtreename(file("dark.tree").c_str());
    control->brightresultname(file("old.contours").c_str());
    write(file("old.vxp"), "old project\n");
    write(file("old.contours"), "0, 1, (2, 3) \n");
    dialogs().clear();
    dialogs().press("Acknowlege");
    dialogs().press("Acknowlege");
    {
        // Room for a project file, not for a tree.
        const vx_test::FileSizeLimit nearlyFull(1000);
        EXPECT_FALSE(control->writeProject(file("old.vxp").c_str()));
    }
    {
        const vx_test::FileSizeLimit full(0);
        EXPECT_FALSE(control->write_bright_result_contours());
    }
    ASSERT_EQ(dialogs().requests().size(), 2u);
    EXPECT_EQ(dialogs().requests()[0].title, "!!Write Error!!");
    EXPECT_TRUE(dialogs().requests()[0].labels.join("\n").contains("corvella.bright.tree"));
    EXPECT_EQ(vx_test::read_file(file("old.vxp")), "old project\n");
    EXPECT_EQ(vx_test::read_file(file("old.contours")), "0, 1, (2, 3) \n");
}

TEST_F(ControlTest, AnUpdateRuleThatCannotRunLoadsAndComputesNothingAndSaysWhy)
{
    auto control = computed(square_on_black());
    ASSERT_TRUE(control->writeProject(file("p.vxp").c_str()));
    const auto failure = [&](const std::string& rule) {
        if (rule.empty())
            std::filesystem::remove(file("Attributes.rule"));
        else
            write(file("Attributes.rule"), rule);
        auto loaded = reload(file("p.vxp"));
        EXPECT_FALSE(loaded->loaded());
        EXPECT_EQ(loaded->openingtree(), nullptr);
        EXPECT_TRUE(loaded->loadFailure().startsWith("The update rule\n"));
        EXPECT_TRUE(loaded->loadFailure().section('\n', 1, 1).endsWith("Attributes.rule"));
        return loaded->loadFailure().section('\n', 2).toStdString();
    };
    EXPECT_EQ(failure("DECLS:\n a := 1\n#DECLS\n"),
              "does not parse:\nline 3: syntax error, unexpected DECLSCL, expecting DELIM");
    const std::string fdc = "DECLS: FDC := 2; numfdc := 5; #DECLS\n";
    EXPECT_EQ(failure(fdc),
              "failed while it ran:\n"
              "Dont Mess with the number of FDCs in update fds in symboltable");
    EXPECT_EQ(failure(""), "cannot be read");

    // Computing: a rule that does not parse keeps the trees there are; one
    // whose run fails leaves none.
    write(file("Attributes.rule"), "RULES: TD: #DECLS\n");
    region_tree* before = control->openingtree();
    vx_test::printed_by([&] { EXPECT_FALSE(control->compute_scales()); });
    EXPECT_TRUE(control->ruleFailure().contains("does not parse:\nline 1:"));
    EXPECT_EQ(control->openingtree(), before);
    write(file("Attributes.rule"), fdc);
    vx_test::printed_by([&] { EXPECT_FALSE(control->compute_scales()); });
    EXPECT_TRUE(control->ruleFailure().startsWith("The update rule\nAttributes.rule\nfailed"));
    EXPECT_EQ(control->openingtree(), nullptr);
}

TEST_F(ControlTest, ATableOnAFullDiskLeavesTheOlderTableWhole)
{
    const vx_test::SmallDisk disk;
    if (!disk.mounted())
        GTEST_SKIP() << "no tmpfs can be mounted here";
    // Twelve squares, and rows long enough that the table outgrows the page
    // the older one holds.
    std::vector<rect> squares;
    for (int k = 0; k < 12; ++k)
        squares.push_back({2 + 10 * (k % 6), 2 + 10 * (k / 6), 5, 5, 200});
    auto control = computed(picture(62, 22, squares));
    control->imagename(std::string(400, 'i').c_str());
    write(control->brightrulesname(), "RULES: TD: area < 40 #RULES\n");
    vx_test::printed_by([&] { control->apply_open_rule(); });
    ASSERT_GE(control->activeBrightNodes(), 12);
    const std::string table = disk.file("objects.csv");
    write(table, "older table\n");
    disk.fill();
    dialogs().press("Acknowlege");
    EXPECT_FALSE(control->write_bright_result_table(QString::fromStdString(table)));
    ASSERT_EQ(dialogs().requests().size(), 1u);
    EXPECT_EQ(dialogs().requests().back().title, "!!Write Error!!");
    EXPECT_EQ(vx_test::read_file(table), "older table\n");
}

}  // namespace
