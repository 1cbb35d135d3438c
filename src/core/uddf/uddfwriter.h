// The UDDF writer's XML output and export plan, shared by the units that write the document's sections.
#pragma once

#include "logbook/diverecord.h"
#include "logbook/logbook.h"
#include "registers/addresses.h"
#include "registers/certificates.h"
#include "registers/equipment.h"
#include "registers/trips.h"
#include "uddf/rawrecords.h"
#include "uddf/uddfexport.h"
#include "uddf/uddftext.h"

#include <cstdint>
#include <functional>
#include <libxml/xmlwriter.h>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zorv::uddf {

namespace uddfwriting {

    inline const xmlChar *x(const char *text)
    {
        return reinterpret_cast<const xmlChar *>(text);
    }

    // xmlTextWriter over a sink; the first failure is latched and stops the writing.
    class XmlOut {
    public:
        explicit XmlOut(const std::function<bool(std::string_view)> &sink)
            : m_sink(sink)
        {
            xmlOutputBufferPtr buffer = xmlOutputBufferCreateIO(&XmlOut::write, nullptr, this, nullptr);
            m_writer = buffer ? xmlNewTextWriter(buffer) : nullptr;
            if (m_writer) {
                xmlTextWriterSetIndent(m_writer, 1);
                xmlTextWriterSetIndentString(m_writer, x(" "));
            }
            m_failed = m_writer == nullptr || xmlTextWriterStartDocument(m_writer, "1.0", "UTF-8", nullptr) < 0;
        }
        ~XmlOut()
        {
            if (m_writer)
                xmlFreeTextWriter(m_writer);
        }
        XmlOut(const XmlOut &) = delete;
        XmlOut &operator=(const XmlOut &) = delete;

        void start(const char *name) { check(xmlTextWriterStartElement(m_writer, x(name))); }
        void end() { check(xmlTextWriterEndElement(m_writer)); }
        void attribute(const char *name, const std::string &value)
        {
            check(xmlTextWriterWriteAttribute(m_writer, x(name), x(value.c_str())));
        }
        void element(const char *name, const std::string &value)
        {
            check(xmlTextWriterWriteElement(m_writer, x(name), x(value.c_str())));
        }
        void empty(const char *name)
        {
            start(name);
            end();
        }
        void link(const std::string &ref)
        {
            start("link");
            attribute("ref", ref);
            end();
        }
        void hexText(std::span<const std::uint8_t> bytes)
        {
            m_hex.clear();
            appendHex(m_hex, bytes);
            m_hex.push_back('\0');
            check(xmlTextWriterWriteString(m_writer, x(m_hex.data())));
        }
        void hexElement(const char *name, std::span<const std::uint8_t> bytes)
        {
            start(name);
            hexText(bytes);
            end();
        }
        bool finish()
        {
            check(xmlTextWriterEndDocument(m_writer));
            check(xmlTextWriterFlush(m_writer));
            return !m_failed;
        }
        bool failed() const { return m_failed; }

    private:
        void check(int rc)
        {
            if (rc < 0)
                m_failed = true;
        }
        static int write(void *context, const char *buffer, int length)
        {
            auto *self = static_cast<XmlOut *>(context);
            if (self->m_sinkFailed || !self->m_sink({ buffer, static_cast<std::size_t>(length) })) {
                self->m_sinkFailed = true;
                return -1;
            }
            return length;
        }

        const std::function<bool(std::string_view)> &m_sink;
        xmlTextWriterPtr m_writer = nullptr;
        bool m_failed = false;
        bool m_sinkFailed = false;
        std::vector<char> m_hex;
    };

    // What the elements outside our wrapper are built from, gathered before writing.
    struct Plan {
        std::vector<int> positions; // 1-based, of the dives written
        std::map<std::pair<std::string, std::string>, std::string> sites; // (place, site) stored -> id
        std::map<std::string, std::string> buddies; // display name -> id
        std::set<std::uint8_t> computers;
        bool nitrox = false;
        std::optional<registers::CertificateRegister> certificates;
        std::vector<registers::Trip> trips;
        std::vector<registers::EquipmentItem> equipment;
        std::vector<registers::Address> addresses;
    };

    std::string registerText(const std::string &stored, registers::Charset charset);
    std::string dateText(std::uint32_t day, int minutes = 0);
    std::pair<std::string, std::string> splitName(const std::string &name);

    // The diver section: the owner with the logbook's certificates and equipment, and the buddies.
    void writeOwner(XmlOut &out, const Plan &plan, const logbook::Logbook &book);
    void writeBuddy(XmlOut &out, const std::string &id, const std::string &first, const std::string &last,
        const registers::Address *address);

} // namespace uddfwriting

} // namespace zorv::uddf
