// The lesson editor's drag payload. A payload must carry this process's
// token to be read at all, so the input stands for what follows the token:
// the header written by the program is put in front of it.

#include "fuzz_support.h"

#include "authoring/editor_drag.h"

ZIRO_FUZZ_START

namespace {

// magic (4), version (2), token (8)
constexpr qsizetype kHeader = 14;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QByteArray header = ziro::editorDragBytes(ziro::EditorDrag{}).left(kHeader);
    const QByteArray payload = header + ziro::fuzz::bytesOf(data, size);
    const std::optional<ziro::EditorDrag> drag = ziro::editorDragFromBytes(payload);
    if (!drag)
        return 0;
    ZIRO_FUZZ_CHECK(drag->codes.size() <= 70);
    // What was read travels again unchanged.
    const std::optional<ziro::EditorDrag> again = ziro::editorDragFromBytes(ziro::editorDragBytes(*drag));
    ZIRO_FUZZ_CHECK(again);
    ZIRO_FUZZ_CHECK(again->origin == drag->origin && again->tag == drag->tag && again->tipo == drag->tipo);
    ZIRO_FUZZ_CHECK(again->record == drag->record && again->codes == drag->codes);
    ZIRO_FUZZ_CHECK(again->signFallback == drag->signFallback && again->photoValue == drag->photoValue);
    ZIRO_FUZZ_CHECK(again->photoCaption == drag->photoCaption && again->extraSign == drag->extraSign);
    ZIRO_FUZZ_CHECK(again->extraSignFound == drag->extraSignFound && again->topic == drag->topic);
    return 0;
}
