// The nine host operations, called by name on the registered class as Messenger Plus! does.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "PluginTestSupport.h"
#include "TestServer.h"

namespace mivo::test {
namespace {

TEST(PluginInterface, TypeInformationCarriesTheHostsSignatures) {
    // name, then each parameter as name:type, "&" marking by reference, then the result type
    const std::map<std::wstring, std::wstring> expected = {
        {L"Initialize", L"nVersion:3 sUserEmail:8 oMessenger:9 -> 11"},
        {L"Uninitialize", L"-> 12"},
        {L"Configure", L"-> 12"},
        {L"GetPublishInfo", L"sPluginName:&8 nCommandCount:&3 nTagCount:&3 -> 11"},
        {L"GetPublishCommandInfo", L"nCommandIdx:3 sName:&8 sValue:&8 sHelp:&8 -> 12"},
        {L"GetPublishTagInfo", L"nTagIdx:3 sName:&8 sValue:&8 -> 12"},
        {L"ParseCommand", L"sCommand:8 sCommandArg:8 oConversationWnd:9 sResult:&8 -> 11"},
        {L"ParseTag", L"sTag:8 oConversationWnd:9 sResult:&8 -> 11"},
        {L"ReceiveNotify", L"sNotifyCode:8 sText:8 sContactName:8 oConversationWnd:9 sTextToSend:&8 -> 11"},
    };
    auto plugin = CreateRegisteredPlugin();
    Microsoft::WRL::ComPtr<ITypeInfo> info;
    ASSERT_EQ(plugin->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info), S_OK);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
    const WORD functions = attr->cFuncs;
    info->ReleaseTypeAttr(attr);

    std::vector<std::wstring> order;
    for (WORD f = 0; f < functions; ++f) {
        FUNCDESC* desc = nullptr;
        ASSERT_EQ(info->GetFuncDesc(f, &desc), S_OK);
        BSTR names[16] = {};
        UINT count = 0;
        info->GetNames(desc->memid, names, 16, &count);
        std::wstring signature;
        for (SHORT p = 0; p < desc->cParams; ++p) {
            const TYPEDESC& type = desc->lprgelemdescParam[p].tdesc;
            const bool byRef = type.vt == VT_PTR;
            signature += std::wstring(names[p + 1]) + L":" + (byRef ? L"&" : L"") +
                         std::to_wstring(byRef ? type.lptdesc->vt : type.vt) + L" ";
        }
        signature += L"-> " + std::to_wstring(desc->elemdescFunc.tdesc.vt);
        // dispatch view of a dual interface: the retval is the function's result
        const std::wstring name = names[0];
        if (expected.count(name)) {
            order.push_back(name);
            EXPECT_EQ(signature, expected.at(name)) << std::string(name.begin(), name.end());
        }
        for (UINT n = 0; n < count; ++n) ::SysFreeString(names[n]);
        info->ReleaseFuncDesc(desc);
    }
    EXPECT_EQ(order, (std::vector<std::wstring>{L"Initialize", L"Uninitialize", L"Configure", L"GetPublishInfo",
                                                L"GetPublishCommandInfo", L"GetPublishTagInfo", L"ParseCommand",
                                                L"ParseTag", L"ReceiveNotify"}));
}

TEST(PluginInterface, PublishesItsNameAndThreeCommands) {
    auto plugin = CreateRegisteredPlugin();
    Args info;
    info.StringRef(L"sentinel").LongRef(-7).LongRef(-7);
    Outcome got = Call(plugin.Get(), L"GetPublishInfo", info);
    ASSERT_EQ(got.hr, S_OK);
    EXPECT_TRUE(got.boolResult);
    EXPECT_EQ(info.StringAt(0), L"Mivo Plugin");
    EXPECT_EQ(info.LongAt(1), 3);
    EXPECT_EQ(info.LongAt(2), 0);

    const wchar_t* const table[3][2] = {
        {L"Download and install the newest emoticons", L"xnewemoticons"},
        {L"Download and install the newest display pictures", L"xnewdps"},
        {L"Open Mivo", L"xopenmivo"},
    };
    for (long index = 0; index <= 4; ++index) {
        Args command;
        command.Long(index).StringRef(L"name?").StringRef(L"value?").StringRef(L"help?");
        got = Call(plugin.Get(), L"getpublishcommandinfo", command);  // names match in any case
        ASSERT_EQ(got.hr, S_OK) << index;
        EXPECT_EQ(got.resultType, VT_EMPTY);
        const bool published = index >= 1 && index <= 3;
        EXPECT_EQ(command.StringAt(1), published ? table[index - 1][0] : L"name?") << index;
        EXPECT_EQ(command.StringAt(2), published ? table[index - 1][1] : L"value?") << index;
        EXPECT_EQ(command.StringAt(3), L"help?") << index;
    }

    Args tag;
    tag.Long(1).StringRef(L"name?").StringRef(L"value?");
    got = Call(plugin.Get(), L"GetPublishTagInfo", tag);
    EXPECT_EQ(got.hr, S_OK);
    EXPECT_EQ(got.resultType, VT_EMPTY);
    EXPECT_EQ(tag.StringAt(1), L"name?");
    EXPECT_EQ(tag.StringAt(2), L"value?");
}

TEST(PluginInterface, LifecycleTagsAndNotificationsAnswerWithoutTouchingAnything) {
    auto plugin = CreateRegisteredPlugin();
    for (const wchar_t* email : {L"", L"someone@example.com"}) {
        Args init;
        init.Long(-1).String(email).Nothing();
        EXPECT_TRUE(Call(plugin.Get(), L"Initialize", init).boolResult);
    }
    Args tag;
    tag.String(L"(!tag)").Nothing().StringRef(L"untouched");
    Outcome got = Call(plugin.Get(), L"ParseTag", tag);
    EXPECT_EQ(got.hr, S_OK);
    EXPECT_EQ(got.resultType, VT_BOOL);
    EXPECT_FALSE(got.boolResult);
    EXPECT_EQ(tag.StringAt(2), L"untouched");

    Args notify;
    notify.String(L"MSG").String(L"hello").String(L"friend").Nothing().StringRef(L"untouched");
    got = Call(plugin.Get(), L"ReceiveNotify", notify);
    EXPECT_EQ(got.hr, S_OK);
    EXPECT_EQ(got.resultType, VT_BOOL);
    EXPECT_FALSE(got.boolResult);
    EXPECT_EQ(notify.StringAt(4), L"untouched");

    Args none;
    got = Call(plugin.Get(), L"Uninitialize", none);
    EXPECT_EQ(got.hr, S_OK);
    EXPECT_EQ(got.resultType, VT_EMPTY);
}

TEST(PluginInterface, OnlyTheExactCommandWordsAreRecognised) {
    TestServer server;
    auto plugin = CreateRegisteredPlugin();
    for (const wchar_t* typed : {L"/xnewdps ", L" /xnewdps", L"xnewdps", L"/xnewdp", L"/xnew dps", L"/xopenmivo.",
                                 L"xnewemoticons", L"", L"/xnewdps\t"}) {
        Args args;
        args.String(typed).String(L"").Nothing().StringRef(L"keep");
        const Outcome got = Call(plugin.Get(), L"ParseCommand", args);
        EXPECT_EQ(got.hr, S_OK);
        EXPECT_FALSE(got.boolResult) << "'" << std::string(typed, typed + wcslen(typed)) << "'";
        EXPECT_EQ(args.StringAt(3), L"keep");
    }
    EXPECT_TRUE(server.Log().empty());  // nothing was asked from the server
}

}  // namespace
}  // namespace mivo::test
