// The remove-drive page over the real driver: the rows, Start and the
// command-line road.

#include <gtest/gtest.h>

#include <QTest>

#include "PagesDriverTest.h"
#include "RemoveDvd.h"
#include "VDHelpers.h"
#include "VDMainUnit.h"

namespace {

void clickRow(QTreeWidget* view, int row)
{
    QTreeWidgetItem* item = view->topLevelItem(row);
    ASSERT_NE(item, nullptr);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualItemRect(item).center());
}

class RemoveDvdPageTest : public PagesDriverTest {
protected:
    // Two devices over images with labels; ids_[i] and letters_[i] ("D").
    void AddTwoDevices()
    {
        const char* labels[] = {"FIRSTDISC", "SECONDDISC"};
        for (int i = 0; i < 2; ++i) {
            images.push_back(NewIso("disc" + std::to_string(i + 1) + ".iso", labels[i]));
            ids.push_back(pagestest::AddDevice(images.back()));
            ASSERT_GE(ids.back(), 0);
            letters.push_back(pagestest::LetterOf(ids.back()));
            ASSERT_FALSE(letters.back().empty());
        }
    }
    std::vector<std::string> images;
    std::vector<int32_t> ids;
    std::vector<std::string> letters;
};

TEST_F(RemoveDvdPageTest, ListsDevicesAndRemovesTheSelectedOne)
{
    AddTwoDevices();
    StartMainForm({});
    form_->RemoveDriveButtClick();
    ASSERT_TRUE(RemoveDvdForm);
    EXPECT_TRUE(RemoveDvdForm->isVisible());
    EXPECT_EQ(CurrentTabIndex, 5);

    QTreeWidget* view = RemoveDvdForm->lvSPDL;
    ASSERT_EQ(view->topLevelItemCount(), 2);
    const char* labels[] = {"FIRSTDISC", "SECONDDISC"};
    for (int i = 0; i < 2; ++i) {
        const QTreeWidgetItem* row = view->topLevelItem(i);
        EXPECT_EQ(row->text(0), QString::number(ids[i]));
        EXPECT_EQ(row->text(1), QStringLiteral("disc%1.iso").arg(i + 1));  // "TargetName=" taken off
        EXPECT_EQ(row->text(2), QStringLiteral("DVD"));
        EXPECT_EQ(row->text(3).toStdString(), letters[i] + ":\\");
        EXPECT_EQ(row->text(4), QString::fromLatin1(labels[i]));
    }
    EXPECT_EQ(view->headerItem()->text(3), QStringLiteral("Drive Letter"));
    EXPECT_FALSE(RemoveDvdForm->cxButton1->isEnabled());

    clickRow(view, 1);
    EXPECT_TRUE(RemoveDvdForm->cxButton1->isEnabled());
    QTest::mouseClick(RemoveDvdForm->cxButton1, Qt::LeftButton);

    EXPECT_EQ(pagestest::ListedTargetIds(), std::vector<int32_t>{ids[0]});
    EXPECT_TRUE(pagestest::LoopDeviceOf(images[1]).empty());
    EXPECT_FALSE(pagestest::LoopDeviceOf(images[0]).empty());
    EXPECT_EQ(CurrentTabIndex, -1);  // back on the tile page
    EXPECT_FALSE(ApplicationTerminated());

    form_->RemoveDriveButtClick();
    ASSERT_EQ(view->topLevelItemCount(), 1);
    EXPECT_EQ(view->topLevelItem(0)->text(0), QString::number(ids[0]));
}

struct DriveCase {
    const char* name;
    bool upperCase;      // the letter of the second device as written
    const char* suffix;  // after the letter
};
void PrintTo(const DriveCase& c, std::ostream* os) { *os << c.name; }

class RemoveDvdCommandLineTest : public RemoveDvdPageTest, public ::testing::WithParamInterface<DriveCase> {};

TEST_P(RemoveDvdCommandLineTest, RemovesTheNamedDriveAndEnds)
{
    AddTwoDevices();
    const QString letter = QString::fromStdString(letters[1]);
    const QString drive =
        (GetParam().upperCase ? letter.toUpper() : letter.toLower()) + QString::fromUtf8(GetParam().suffix);
    StartMainForm({QStringLiteral("/remove"), drive});
    form_->FormActivate();

    EXPECT_EQ(pagestest::ListedTargetIds(), std::vector<int32_t>{ids[0]});
    EXPECT_TRUE(pagestest::LoopDeviceOf(images[1]).empty());
    EXPECT_TRUE(ApplicationTerminated());
}

INSTANTIATE_TEST_SUITE_P(Forms, RemoveDvdCommandLineTest,
                         ::testing::Values(DriveCase{"Letter", false, ""}, DriveCase{"LetterColon", false, ":"},
                                           DriveCase{"LetterColonBackslash", false, ":\\"},
                                           DriveCase{"UpperCaseLetterColon", true, ":"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RemoveDvdPageTest, UnlistedDriveOpensThePageWithoutRemoving)
{
    AddTwoDevices();
    StartMainForm({QStringLiteral("/remove"), QStringLiteral("y:")});
    form_->FormActivate();
    ASSERT_TRUE(RemoveDvdForm);
    EXPECT_TRUE(RemoveDvdForm->isVisible());
    EXPECT_EQ(RemoveDvdForm->lvSPDL->topLevelItemCount(), 2);
    EXPECT_FALSE(RemoveDvdForm->HasSelectedRow());
    EXPECT_FALSE(RemoveDvdForm->cxButton1->isEnabled());
    EXPECT_EQ(pagestest::ListedTargetIds(), ids);
    EXPECT_FALSE(ApplicationTerminated());
}

TEST_F(RemoveDvdPageTest, RemoveAloneEndsAfterTheUsersRemoval)
{
    AddTwoDevices();
    StartMainForm({QStringLiteral("/remove")});
    form_->FormActivate();
    ASSERT_TRUE(RemoveDvdForm);
    EXPECT_FALSE(RemoveDvdForm->HasSelectedRow());
    EXPECT_EQ(pagestest::ListedTargetIds(), ids);

    clickRow(RemoveDvdForm->lvSPDL, 0);
    QTest::mouseClick(RemoveDvdForm->cxButton1, Qt::LeftButton);
    EXPECT_EQ(pagestest::ListedTargetIds(), std::vector<int32_t>{ids[1]});
    EXPECT_TRUE(ApplicationTerminated());
}

TEST_F(RemoveDvdPageTest, MissingDriverKeepsThePageClosed)
{
    ASSERT_EQ(pagestest::UninstallDriver(), 0);
    StartMainForm({});
    QString shownError;
    const auto savedHandler = ApplicationShowException;
    ApplicationShowException = [&](const QString& message) { shownError = message; };
    form_->RemoveDriveButtClick();
    ApplicationShowException = savedHandler;
    EXPECT_TRUE(shownError.startsWith(QStringLiteral("Burnkit_VPort_DeviceListQueryLocal() failed, exception ")))
        << shownError.toStdString();
    EXPECT_FALSE(RemoveDvdForm && RemoveDvdForm->isVisible());
    EXPECT_EQ(CurrentTabIndex, -1);
}

}  // namespace
