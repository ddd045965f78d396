#include "app/TextPlusLibrary.h"

#include "app/Mainform.h"
#include "app/Texts.h"
#include "browser/TextPlusHost.h"
#include "platform/MessageService.h"

namespace zk {

bool TextPlusLibrary::load(const QString& exeFolder) {
    library_.setFileName(exeFolder + "libtextplus.so");
    if (!library_.load()) {
        error_ = library_.errorString();
        return false;
    }
    setumeiTuikaMain_ = reinterpret_cast<SetumeiTuikaMainFn>(library_.resolve("SetumeiTuikaMain"));
    if (!setumeiTuikaMain_) error_ = library_.errorString();
    return setumeiTuikaMain_ != nullptr;
}

TextPlusLibrary::TextPlusLibrary() = default;
TextPlusLibrary::~TextPlusLibrary() = default;

void TextPlusLibrary::SetumeiTuikaMain(TIECtrl& ie, const QString& dataFolder) {
    if (!setumeiTuikaMain_) return;
    if (!host_) host_ = std::make_unique<TextPlusHost>(ie, dataFolder);
    setumeiTuikaMain_(host_.get());
}

void TMain::Button1Click() {
    // A missing tool keeps the rest of the panel usable; it says why only when asked for.
    if (!textPlusLibrary_->loaded()) {
        MessageService::instance().show(texts::TextPlusLibraryMissing.arg(textPlusLibrary_->errorString()),
                                        texts::CaptionError, Icon::Exclamation);
        return;
    }
    textPlusLibrary_->SetumeiTuikaMain(*IE, services_.settings.dataFolder());
}

} // namespace zk
