#include "settings/frmoptions.h"

#include "platform/core/Twips.h"

namespace kuvell {

namespace {
constexpr int kClientWidthTwips = 4545;
constexpr int kClientHeightTwips = 3555;
}  // namespace

frmoptions::frmoptions(ProgramVariables&, SettingsStore&, MainWindowAccess&, AutostartTarget,
                       QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint)
{
    setWindowTitle(QStringLiteral("设置"));
    setModal(true);
    setFixedSize(TwipsToPixels(kClientWidthTwips), TwipsToPixels(kClientHeightTwips));
}

frmoptions::~frmoptions() = default;

}  // namespace kuvell
