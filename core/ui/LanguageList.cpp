#include "ui/LanguageList.h"

#include "messages/Message.h"
#include "trace/KVTBug.h"

namespace kvt {

void LoadcboLangue(ListControl &list) {
    const TraceBlock traced(*sharedTrace(), "LoadcboLangue");
    list.Clear();
    const Message &messages = *sharedMessage();
    for (std::int16_t language = 0; language < messages.NrLanguages(); ++language)
        list.AddItem(messages.strGetLangMsg(language, 2));
}

} // namespace kvt
