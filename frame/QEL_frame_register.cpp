#include "frame/QEL_frame_register.h"

#include "frame/QEL_qelbase.h"
#include "platform/controls/Properties.h"

namespace qel {

void RegisterFrameEnums() {
  RegisterPlatformClasses();
  RegisterEnum<TColorScheme>("TColorScheme", {"csBWG", "csSystem"});
  RegisterEnum<TFrameStyle>("TFrameStyle",
                            {"fsNone", "fsSimple", "fsLowered", "fsRaised", "fsEmbossed", "fsEngraved"});
  RegisterEnum<TBkgFill>("TBkgFill", {"bfSimple", "bfStretch", "bfTile"});
  RegisterEnum<TDecPSep>("TDecPSep", {"dpsSystem", "dpsPoint", "dpsComma", "dpsBoth"});
  RegisterEnum<TLanguage>("TLanguage", {"lgNeutral", "lgEnglish", "lgGerman", "lgFrench", "lgSpanish"});
  RegisterEnum<TDirection>("TDirection", {"drUp", "drDown", "drLeft", "drRight"});
  RegisterEnum<TOrientation>("TOrientation", {"orVertical", "orHorizontal"});
  RegisterEnum<TCSVDelimiters>("TCSVDelimiters", {"csvComma", "csvSemicolon", "csvTab", "csvSpace"});
  RegisterEnum<TLogicOp>("TLogicOp", {"loNone", "loAnd", "loOr", "loXor"});
}

}  // namespace qel
