//===- HttpMessage.h - Bounded reading of one HTTP/1.1 message --------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_COMMON_HTTPMESSAGE_H
#define TOVRANE_COMMON_HTTPMESSAGE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tovrane {

/// Reads one HTTP/1.1 request (server side) or reply (client side) from bytes as they
/// arrive. Pure (no I/O) and safe on any bytes: a fuzzing surface of both sides. Every bound
/// is enforced while reading, so a peer cannot make it hold more than the head bound plus
/// the body bound whatever it sends: the head (first line, header fields, blank line) at
/// most kMaxHeadBytes in at most kMaxHeaderLines lines; the body (Content-Length, chunked,
/// or for a reply up to the connection's end) at most `maxBody` bytes; a chunk-size or
/// trailer line at most kMaxChunkLine bytes. A request without a length has no body.
/// With BodyStorage::InPlace a body of announced length that arrives whole within one Feed
/// is not copied: BodyView() then points into the bytes fed, which the caller keeps
/// unchanged while it reads the body (a client reading a reply in one receive buffer).
class HttpMessage {
public:
    static constexpr size_t kMaxHeadBytes = 16 * 1024;
    static constexpr size_t kMaxHeaderLines = 100;
    static constexpr size_t kMaxChunkLine = 256;

    enum class Kind { Request, Reply };
    enum class Result {
        Ok,        ///< fine so far (complete when Done())
        Malformed, ///< not HTTP/1.x as this reader speaks it
        HeadTooLarge,
        BodyTooLarge,
        Truncated, ///< the connection ended before the message did
    };

    enum class BodyStorage { Copied, InPlace };

    HttpMessage(Kind kind, size_t maxBody, BodyStorage storage = BodyStorage::Copied);

    /// Takes `size` more bytes and reports how the message stands. A failure is final.
    /// Bytes after a complete message are only noted (`Extra`).
    Result Feed(const char* data, size_t size);
    /// The connection ended: completes a reply body that runs to the end; Truncated when
    /// the message is still incomplete.
    Result End();

    /// The message is complete.
    bool Done() const { return mStage == Stage::Done; }
    /// The head has been read (method, path, status, length and so on are known).
    bool HeadDone() const { return mStage != Stage::Head && mStage != Stage::Failed; }
    /// No byte has arrived yet.
    bool Empty() const { return !mAnyByte; }
    /// Request: the method and the path ("POST", "/v1/hello").
    const std::string& Method() const { return mMethod; }
    const std::string& Path() const { return mPath; }
    /// Reply: the status code.
    int StatusCode() const { return mStatusCode; }
    /// Request: the client waits for "100 Continue" before it sends the body.
    bool ExpectsContinue() const { return mExpectContinue; }
    /// The connection may carry another message after this one.
    bool KeepAlive() const { return mKeepAlive && !mExtra; }
    /// Bytes arrived after the message ended.
    bool Extra() const { return mExtra; }
    /// The body's announced length, 0 when unknown (chunked or up to the end).
    uint64_t AnnouncedLength() const { return mContentLength < 0 ? 0 : mContentLength; }
    /// The body read so far, when copied (empty for a body read in place).
    std::string& Body() { return mBody; }
    const std::string& Body() const { return mBody; }
    /// The body was read in place (see BodyStorage).
    bool BodyInPlace() const { return mInPlace; }
    /// The body read so far, copied or in place.
    std::string_view BodyView() const { return mInPlace ? mBodyInPlace : std::string_view(mBody); }

private:
    enum class Stage { Head, Body, ChunkSize, ChunkData, ChunkEnd, Trailer, Done, Failed };

    Result Fail(Result why);
    Result ParseHead();
    bool ParseFirstLine(const std::string& line);
    bool ParseHeader(const char* line, size_t length);
    Result AppendBody(const char* data, size_t size);

    Kind mKind;
    size_t mMaxBody;
    BodyStorage mStorage;
    bool mInPlace = false; ///< the body is mBodyInPlace, a view of fed bytes
    std::string_view mBodyInPlace;
    Stage mStage = Stage::Head;
    Result mFailure = Result::Ok;
    bool mAnyByte = false;
    bool mExtra = false;
    std::string mHead; ///< the head so far (later the current chunk-size or trailer line)
    size_t mLines = 0;
    std::string mMethod, mPath;
    int mStatusCode = 0;
    bool mKeepAlive = true;
    bool mChunked = false;
    bool mExpectContinue = false;
    bool mBodyTooLarge = false;
    int64_t mContentLength = -1;
    uint64_t mChunkLeft = 0;
    std::string mBody;
};

} // namespace tovrane

#endif // TOVRANE_COMMON_HTTPMESSAGE_H
