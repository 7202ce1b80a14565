//===- ExpertColorFeatures.h - The pane's colour item lists -----*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_COLOUR_EXPERTCOLORFEATURES_H
#define PIGMENTOR_COLOUR_EXPERTCOLORFEATURES_H

#include <CoreFoundation/CoreFoundation.h>

#include <atomic>

class ExpertColorFeaturesThread;
class PigmentorItem;
class PigmentorPPDItemList;
class PigmentorPaneItemList;
class PigmentorProgressHandler;
class QRVPPD;

/// The two colour item lists of the pane: the pane list, built once from the PPD, and the
/// expert list, rebuilt on demand from the PPD alone or, with a server named, from the server
/// (a PigmentorBIDIItemList, which also writes the server's colour keywords into the model).
/// The expert list can be rebuilt on a background thread (ExpertColorFeaturesThread). The
/// object walks both lists for the summary and writes the expert features' code for the job.
///
/// Ownership: owns both lists, its copy of the server name and the fetch thread; the model and
/// the progress handler are not owned (the model must outlive this object; the handler must
/// outlive the fetch thread, which `cancelExpertColorFeaturesAsync` ends).
///
/// Threads: everything here is for the main thread, except `refreshFeatures`, which the fetch
/// thread runs. While a fetch runs, `getExpertColorFeatures()` answers null and `isValid()`
/// false, and the main thread leaves the expert list, the cursors' list and the model's
/// colour controls alone; calls that replace the model, the server name or the expert list
/// first wait for a running fetch to end. The error code may be read from any thread.
/// Texts are in the application's text encoding (UTF-8).
class ExpertColorFeatures {
public:
    /// Without a model: error 2. Otherwise checks the PPD's expert colour controls (their
    /// error code, nothing more built, when there are none), builds the pane list and applies
    /// `updatePigmentorSettings(model, twoWay, serverName, refresh)`.
    ExpertColorFeatures(QRVPPD* model, bool twoWay, const char* serverName, bool refresh,
                        bool async, PigmentorProgressHandler* handler);
    /// Stops and joins a running fetch, then deletes both lists and the name.
    ~ExpertColorFeatures();
    ExpertColorFeatures(const ExpertColorFeatures&) = delete;
    ExpertColorFeatures& operator=(const ExpertColorFeatures&) = delete;

    /// 0 when a PPD-only expert list of `model` is valid, else its error code.
    static unsigned long verifyExpertColor(QRVPPD* model);

    /// Takes a non-null `model`; keeps `serverName` when `twoWay` (else none); with `refresh`
    /// rebuilds the expert list (on the fetch thread in asynchronous mode).
    void updatePigmentorSettings(QRVPPD* model, bool twoWay, const char* serverName, bool refresh);
    /// A non-null model is taken: the expert list is deleted and the device-link flag updated.
    void setPPD(QRVPPD* model);
    /// Replaces the server name (null: none); a non-null name deletes the expert list.
    void setServerName(const char* serverName);
    /// Rebuilds the expert list now, on the calling thread: the two-way list with a server
    /// name, else the PPD's. An invalid list is deleted (none then). Returns the list.
    PigmentorPPDItemList* refreshFeatures(PigmentorProgressHandler* handler);
    /// Starts a rebuild on a new fetch thread, unless one is still running (which goes on).
    /// A non-null `handler` replaces the stored one; the stored handler is reset and given to
    /// the fetch.
    void getExpertColorFeaturesAsync(PigmentorProgressHandler* handler);
    /// Deletes the fetch thread: a running fetch is marked stopped and waited for.
    void cancelExpertColorFeaturesAsync();
    /// Whether a fetch thread is still fetching.
    bool isFetching() const;

    /// The expert list (owned), null while a fetch runs or when there is none.
    PigmentorPPDItemList* getExpertColorFeatures() const;
    /// The pane list (owned), or null.
    PigmentorPaneItemList* getPigmentorPaneItemList() const { return mPaneList; }
    /// The model (not owned).
    QRVPPD* getPDD() const { return mModel; }
    bool isAsyncMode() const { return mAsync; }
    void setAsyncMode(bool async) { mAsync = async; }
    void setProgressHandler(PigmentorProgressHandler* handler) { mHandler = handler; }
    PigmentorProgressHandler* getProgressHandler() const { return mHandler; }
    /// Whether the model holds the special option "*DeviceLink" (as last computed).
    bool DeviceLinkIsAvailable() const { return mDeviceLinks; }
    /// Recomputes the device-link flag; false without a model.
    bool getDeviceLinkInfo();
    /// The server name kept, or null.
    const char* getServerName() const { return mServerName; }

    /// False without an expert list or while a fetch runs; else the list's validity.
    bool isValid() const;
    /// The own error when non-zero, else the expert list's (0 without one).
    unsigned long getPigmentorErr() const;
    void setPigmentorErr(unsigned long code) { mError = code; }
    /// Whether an expert list exists; changes no value.
    bool setFeaturesToDefaults() const;
    /// Deletes the expert list.
    void resetFeatures();

    /// Expert cursor: the first item; the next; the previous; the current (null: before the
    /// first); advance (the first item from null, else the next; null again at the end). Next
    /// and Prev leave a null cursor null. All null while there is no expert list.
    PigmentorItem* FirstExpertColorItem();
    PigmentorItem* NextExpertColorItem();
    PigmentorItem* PrevItem();
    PigmentorItem* CurrentExpertColorItem() const;
    PigmentorItem* getCurrentExpertColorItem();
    /// The same over the pane list.
    PigmentorItem* FirstPigmentorItem();
    PigmentorItem* NextPigmentorItem();
    PigmentorItem* CurrentPigmentorItem() const;
    PigmentorItem* getCurrentPigmentorItem();

    /// Advances the expert (or pane) cursor and writes the item's summary title and value into
    /// the mutable strings (replacing their text); false when the list is missing or the walk
    /// has ended (the cursor is then back at its start).
    bool getExpertColorFeatureInfo(CFMutableStringRef title, CFMutableStringRef value,
                                   bool& enabled);
    bool getPigmentorPaneFeatureInfo(CFMutableStringRef title, CFMutableStringRef value,
                                     bool& enabled);

    /// The code of the next expert feature, measure-then-write: advances the expert cursor;
    /// 0 when there is no list or no further item. Negative answers (a size query with null
    /// `buf`, or a buffer too small) step the cursor back unless `advance`, so the next call
    /// returns the same feature. Two-way features write what the print filter expects: the
    /// plain PPD control's code for the chosen value (indexes 5 to 18), the dynamic option
    /// (1 to 4), and for the output profile the PPD's own code when the media-defined choice
    /// ("DEFAULT_MEDIA" or "QVOutProfileDEF", both offered by the PPD) is selected.
    int getPostscriptFeatureData(unsigned char* buf, int size, bool advance);

    /// Two-way lists only: the display name of the device link between the current values of
    /// the RGB source (or CMYK simulation) and the output profile, in a 256-byte buffer per
    /// function (valid until its next call; main thread); null when there is none.
    const char* RGBSeparationDeviceLinkExists(PigmentorItem* rgb, PigmentorItem* out);
    const char* CYMKSimulationDeviceLinkExists(PigmentorItem* sim, PigmentorItem* out);

private:
    /// Deletes the expert list and puts the expert cursor back at its start.
    void deleteExpertList();
    /// The code of a two-way output-profile item (step 4 of getPostscriptFeatureData).
    int outProfileCode(PigmentorItem* item, unsigned char* buf, int size);
    /// The code of a non-special two-way item through its plain PPD control.
    int plainControlCode(PigmentorItem* item, unsigned char* buf, int size);
    static bool fillInfo(PigmentorItem* item, CFMutableStringRef title, CFMutableStringRef value,
                         bool& enabled);

    PigmentorPPDItemList* mExpertList;
    PigmentorPaneItemList* mPaneList;
    char* mServerName;
    QRVPPD* mModel;
    PigmentorItem* mExpertCursor;
    PigmentorItem* mPaneCursor;
    ExpertColorFeaturesThread* mThread;
    PigmentorProgressHandler* mHandler;
    std::atomic<unsigned long> mError;
    bool mAsync;
    bool mDeviceLinks;
};

#endif // PIGMENTOR_COLOUR_EXPERTCOLORFEATURES_H
