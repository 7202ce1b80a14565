// Plug-ins: registration, loading, unloading.
#include "CFTestSupport.h"

#include <dlfcn.h>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

const char* const kFactory = "5B1F7A52-0C11-4E8E-9D3A-6A1F00000001";
const char* const kNullFactory = "5B1F7A52-0C11-4E8E-9D3A-6A1F00000002";
const char* const kType = "5B1F7A52-0C11-4E8E-9D3A-6A1F000000AA";
const char* const kOtherType = "5B1F7A52-0C11-4E8E-9D3A-6A1F000000BB";

struct Declarations {
    std::string factories = std::string("<key>") + kFactory +
                            "</key><string>TestPlugInFactory</string><key>" + kNullFactory +
                            "</key><string>TestPlugInNullFactory</string>";
    std::string types = std::string("<key>") + kType + "</key><array><string>" + kFactory +
                        "</string><string>" + kNullFactory + "</string></array>";
    std::string extra = "<key>CFBundleExecutable</key><string>TestPlugIn</string>";
};

std::string InfoPlist(const Declarations& d) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>" + d.extra +
           "<key>CFPlugInFactories</key><dict>" + d.factories +
           "</dict><key>CFPlugInTypes</key><dict>" + d.types + "</dict></dict></plist>";
}

CFUUIDRef UUID(const char* text) {
    CFOwned<CFStringRef> s(Str(text));
    return CFUUIDCreateFromString(nullptr, s);
}

std::string LastError() {
    return Take(CFPlugInCopyLastError());
}

// Runs one pass of the main run loop, where finished plug-ins are unloaded.
void RunMainLoopOnce() {
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, true);
}

class CFPlugInTest : public testing::Test {
protected:
    // Lays out `name`.plugin with `info` as its Info.plist and the test executable (unless
    // `executable` says otherwise: "" for none, else the file's text).
    std::string Bundle(const std::string& name, const std::string& info,
                       const char* executable = nullptr) {
        std::string root = name + ".plugin";
        dir.Write(root + "/Contents/Info.plist", info);
        std::string exe = dir / (root + "/Contents/Linux/TestPlugIn.so");
        std::filesystem::create_directories(dir / (root + "/Contents/Linux"));
        if (executable == nullptr)
            std::filesystem::copy_file(PIGMENTOR_TEST_PLUGIN, exe);
        else if (*executable)
            dir.Write(root + "/Contents/Linux/TestPlugIn.so", executable);
        return dir / root;
    }
    CFPlugInRef Create(const std::string& path) {
        CFOwned<CFURLRef> url(FileURL(path, true));
        return CFPlugInCreate(nullptr, url);
    }
    static CFIndex FactoryCount(const char* type, CFPlugInRef in = nullptr) {
        CFOwned<CFUUIDRef> t(UUID(type));
        CFOwned<CFArrayRef> found(in ? CFPlugInFindFactoriesForPlugInTypeInPlugIn(t, in)
                                     : CFPlugInFindFactoriesForPlugInType(t));
        return CFArrayGetCount(found);
    }
    static void* Instance(const char* factory, const char* type) {
        CFOwned<CFUUIDRef> f(UUID(factory)), t(UUID(type));
        return CFPlugInInstanceCreate(nullptr, f, t);
    }

    Scratch dir;
};

TEST_F(CFPlugInTest, InstancesLoadTheExecutableAndTheLastOneGoneUnloadsIt) {
    std::string path = Bundle("Good", InfoPlist({}));
    CFOwned<CFPlugInRef> plugIn(Create(path));
    ASSERT_NE(plugIn.get(), nullptr) << LastError();
    EXPECT_EQ(LastError(), "");
    CFOwned<CFPlugInRef> again(Create(path));
    EXPECT_EQ(again.get(), plugIn.get()) << "one plug-in per directory";
    EXPECT_EQ(FactoryCount(kType), 2);
    EXPECT_EQ(FactoryCount(kType, plugIn), 2);
    EXPECT_EQ(FactoryCount(kOtherType), 0);
    EXPECT_FALSE(CFBundleIsExecutableLoaded(plugIn)) << "loaded only when an instance is asked for";

    std::string exe = path + "/Contents/Linux/TestPlugIn.so";
    CFOwned<CFUUIDRef> factory(UUID(kFactory));
    for (int round = 0; round < 2; ++round) {
        auto* object = static_cast<IUnknownVTbl**>(Instance(kFactory, kType));
        ASSERT_NE(object, nullptr) << LastError();
        EXPECT_TRUE(CFBundleIsExecutableLoaded(plugIn));
        auto* made = static_cast<int*>(CFBundleGetDataPointerForName(plugIn, CFSTR("TestPlugInInstancesMade")));
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(*made, 1) << "a fresh copy of the executable after the unload";
        EXPECT_EQ(CFPlugInGetInstanceCountForFactory(factory), 1);

        void* same = nullptr;
        EXPECT_EQ((*object)->QueryInterface(object, CFUUIDGetUUIDBytes(IUnknownUUID), &same), S_OK);
        EXPECT_EQ(same, object);
        CFOwned<CFUUIDRef> other(UUID(kOtherType));
        void* none = object;
        EXPECT_EQ((*object)->QueryInterface(object, CFUUIDGetUUIDBytes(other), &none),
                  E_NOINTERFACE);
        EXPECT_EQ(none, nullptr);
        (*object)->Release(object);
        (*object)->Release(object);
        EXPECT_EQ(CFPlugInGetInstanceCountForFactory(factory), 0);
        // The last instance went inside the executable's own code: it stays until the loop.
        EXPECT_TRUE(CFBundleIsExecutableLoaded(plugIn));
        RunMainLoopOnce();
        EXPECT_FALSE(CFBundleIsExecutableLoaded(plugIn));
        EXPECT_EQ(dlopen(exe.c_str(), RTLD_NOW | RTLD_NOLOAD), nullptr) << "really unmapped";
    }

    EXPECT_EQ(Instance(kNullFactory, kType), nullptr);
    EXPECT_NE(LastError().find("TestPlugInNullFactory made no instance"), std::string::npos);
    EXPECT_FALSE(CFBundleIsExecutableLoaded(plugIn)) << "nothing made, nothing kept loaded";
    EXPECT_EQ(Instance(kFactory, kOtherType), nullptr);
    EXPECT_NE(LastError().find("not declared for the type"), std::string::npos);
    EXPECT_EQ(Instance("5B1F7A52-0C11-4E8E-9D3A-6A1F0000FFFF", kType), nullptr);
    EXPECT_NE(LastError().find("no plug-in registers"), std::string::npos);
}

TEST_F(CFPlugInTest, AnInstanceKeepsItsPlugInAliveAfterTheHostLetsGo) {
    CFPlugInRef plugIn = Create(Bundle("Held", InfoPlist({})));
    ASSERT_NE(plugIn, nullptr);
    auto* object = static_cast<IUnknownVTbl**>(Instance(kFactory, kType));
    ASSERT_NE(object, nullptr) << LastError();
    CFRelease(plugIn);
    EXPECT_EQ(FactoryCount(kType), 2) << "still registered while its instance lives";
    (*object)->Release(object);
    RunMainLoopOnce();
    EXPECT_EQ(FactoryCount(kType), 0) << "the plug-in went with its last instance";
}

// Each broken declaration is refused with a reason naming it; nothing crashes, and what is
// sound in the same plug-in stays usable.
TEST_F(CFPlugInTest, UntrustedDeclarationsAreRefusedOneByOne) {
    struct Case {
        const char* name;
        std::string info;
        const char* expected;
        CFIndex usableFactories;
    };
    Declarations base;
    auto with = [&](auto change) {
        Declarations d = base;
        change(d);
        return InfoPlist(d);
    };
    const Case cases[] = {
        {"FactoriesNotDict",
         "<plist version=\"1.0\"><dict><key>CFPlugInFactories</key><string>x</string></dict></plist>",
         "CFPlugInFactories is not a dictionary", 0},
        {"BadFactoryID",
         with([](Declarations& d) { d.factories += "<key>not-a-uuid</key><string>F</string>"; }),
         "factory identifier \"not-a-uuid\" is not a UUID", 2},
        {"PathAsFunction", with([](Declarations& d) {
             d.factories = std::string("<key>") + kFactory + "</key><string>../evil</string><key>" +
                           kNullFactory + "</key><integer>3</integer>";
         }),
         "factory function \"../evil\"", 0},
        {"TypesNotDict",
         "<plist version=\"1.0\"><dict><key>CFBundleExecutable</key><string>TestPlugIn</string>"
         "<key>CFPlugInFactories</key><dict>" + base.factories +
             "</dict><key>CFPlugInTypes</key><array/></dict></plist>",
         "CFPlugInTypes is not a dictionary", 0},
        {"TypeNamesStranger", with([](Declarations& d) {
             d.types = std::string("<key>") + kType + "</key><array><string>" + kFactory +
                       "</string><integer>7</integer><string>00000000-0000-0000-0000-000000000000"
                       "</string></array>";
         }),
         "which is no factory of the plug-in", 1},
        {"TypeListNotArray", with([](Declarations& d) {
             d.types = std::string("<key>") + kType + "</key><string>" + kFactory + "</string>";
         }),
         "are not an array", 0},
        {"Dynamic", with([](Declarations& d) {
             d.extra += "<key>CFPlugInDynamicRegistration</key><true/>";
         }),
         "dynamic registration is not supported", 0},
        {"NotXML", "\x01\x02 this is no property list", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFOwned<CFPlugInRef> plugIn(Create(Bundle(c.name, c.info)));
        ASSERT_NE(plugIn.get(), nullptr);
        EXPECT_NE(LastError().find(c.expected), std::string::npos) << LastError();
        EXPECT_EQ(FactoryCount(kType, plugIn), c.usableFactories);
    }
}

TEST_F(CFPlugInTest, ExecutablesThatCannotServeAreRefusedWithTheirReason) {
    Declarations base;
    auto with = [&](const char* exe, const char* function) {
        Declarations d = base;
        d.extra = std::string("<key>CFBundleExecutable</key><string>") + exe + "</string>";
        d.factories = std::string("<key>") + kFactory + "</key><string>" + function + "</string>";
        d.types = std::string("<key>") + kType + "</key><array><string>" + kFactory +
                  "</string></array>";
        return InfoPlist(d);
    };
    struct Case {
        const char* name;
        std::string info;
        const char* executable;
        const char* expected;
    } cases[] = {
        {"Escape", with("../../../../tmp/x", "TestPlugInFactory"), nullptr, "not a plain file name"},
        {"Missing", with("TestPlugIn", "TestPlugInFactory"), "", "is missing or not a regular file"},
        {"NotELF", with("TestPlugIn", "TestPlugInFactory"), "#!/bin/sh\n", "does not load"},
        {"LibcFunction", with("TestPlugIn", "free"), nullptr, "does not export free"},
        {"NoSuchFunction", with("TestPlugIn", "Nope"), nullptr, "does not export Nope"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFOwned<CFPlugInRef> plugIn(Create(Bundle(c.name, c.info, c.executable)));
        ASSERT_NE(plugIn.get(), nullptr);
        EXPECT_EQ(Instance(kFactory, kType), nullptr);
        EXPECT_NE(LastError().find(c.expected), std::string::npos) << LastError();
        EXPECT_FALSE(CFBundleIsExecutableLoaded(plugIn));
    }
    // While one plug-in holds a factory identifier, another declaring it is refused.
    CFOwned<CFPlugInRef> first(Create(Bundle("First", InfoPlist({}))));
    CFOwned<CFPlugInRef> second(Create(Bundle("Second", InfoPlist({}))));
    EXPECT_NE(LastError().find("is registered already by " + dir / "First.plugin"),
              std::string::npos) << LastError();
    EXPECT_EQ(FactoryCount(kType, second), 0);
    EXPECT_EQ(FactoryCount(kType, first), 2);
}

} // namespace
