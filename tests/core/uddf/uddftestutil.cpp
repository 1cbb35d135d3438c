#include "uddftestutil.h"

#include "common/atomicfile.h"
#include "logbook/generator.h"
#include "logbook/logbookfile.h"
#include "registers/addresses.h"
#include "registers/certificates.h"
#include "registers/equipment.h"
#include "registers/instructorrecord.h"
#include "registers/trips.h"
#include "testutil.h"

#include <cstdarg>
#include <cstdio>
#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlschemas.h>
#include <memory>
#include <set>
#include <string_view>

namespace zorv::uddf::test {

namespace fs = std::filesystem;

const FakeComputers kComputers;

Fixture makeFixture(logbook::Logbook &book, const fs::path &dir, int dives)
{
    book.setComputerInfo(&kComputers);
    logbook::generateLogbook(book, { dives, 7, 2015 });
    Fixture fixture;
    fixture.log = dir / "carnet.log";
    EXPECT_TRUE(logbook::LogbookFile::save(book, fixture.log.string()));

    registers::CertificateRegister certificates;
    certificates.diverName = "Ren\x82 L'H\x93te"; // DOS set: René L'Hôte
    certificates.club = "Club <Plong\x82"
                        "e> & Co";
    certificates.certificates
        = { { "CMAS", "Plongeur ***", 150000, "Hans", 120.5f, "piscine" }, { "", "Nitrox", 0, "", 0.0f, "" } };
    auto save = [&](RegisterKind kind, const fs::path &path, const std::vector<std::uint8_t> &bytes) {
        EXPECT_TRUE(common::saveFileAtomically(path, bytes));
        fixture.registers.push_back({ kind, path.filename().string(), bytes });
    };
    save(RegisterKind::Certificates, fs::path(book.infPath()), registers::certificateBytes(certificates));
    std::vector<registers::Trip> trips = { { 150000, 150010, 3, 12,
                                               "Lac d\xb4"
                                               "Annecy",
                                               "Trois jours \"calmes\"" },
        { 0, 0, 40, 45, "Sans date", "" } };
    save(RegisterKind::Trips, fs::path(book.trpPath()), registers::tripBytes(trips));
    registers::EquipmentItem regulator;
    regulator.category = 0;
    regulator.article = "D\xe9tendeur";
    regulator.serialNumber = "A-1";
    regulator.nextServiceMonth = 3;
    regulator.nextServiceYear = 2026;
    regulator.price = 450.0f;
    regulator.remarks = "r\xe9vision";
    registers::EquipmentItem computer = regulator;
    computer.category = 3;
    computer.article = "Ordinateur";
    registers::EquipmentItem other = regulator;
    other.category = 99;
    other.article = "Lampe";
    save(RegisterKind::Equipment, dir / "materiel.dat", registers::equipmentBytes({ regulator, computer, other }));
    registers::Address anne;
    anne.firstName = "Anne";
    anne.lastName = "Martin";
    anne.town = "Gen\x8ave";
    anne.phone1 = "+41 22 000";
    anne.email = "anne@example.org";
    registers::Address club;
    club.lastName = "Club";
    club.homePage = "pas une adresse";
    save(RegisterKind::Addresses, dir / "carnet.adr", registers::addressBytes({ anne, club }));
    save(RegisterKind::Teaching, dir / "cours.abn",
        registers::teachingBytes({ { "Niveau 1", 150000, 150003, 4, 6, 5, "" } }));
    return fixture;
}

std::string exportText(
    const logbook::Logbook &book, const std::vector<RegisterSource> &registers, const ExportOptions &options)
{
    std::string text;
    const auto written = writeUddf(book, registers, options, [&text](std::string_view bytes) {
        text.append(bytes);
        return true;
    });
    EXPECT_TRUE(written.ok()) << written.message();
    return text;
}

namespace {

    struct DocDeleter {
        void operator()(xmlDocPtr doc) const { xmlFreeDoc(doc); }
    };
    using Doc = std::unique_ptr<xmlDoc, DocDeleter>;

    Doc parse(const std::string &text)
    {
        return Doc(xmlReadMemory(text.data(), static_cast<int>(text.size()), nullptr, nullptr, XML_PARSE_NONET));
    }

    template <class F> void walk(xmlNodePtr node, F f)
    {
        for (xmlNodePtr c = node; c; c = c->next) {
            if (c->type != XML_ELEMENT_NODE)
                continue;
            f(c);
            walk(c->children, f);
        }
    }

    std::string_view name(xmlNodePtr node)
    {
        return reinterpret_cast<const char *>(node->name);
    }

    void collectErrors(void *context, const char *format, ...)
    {
        char buffer[512];
        va_list args;
        va_start(args, format);
        std::vsnprintf(buffer, sizeof buffer, format, args);
        va_end(args);
        static_cast<std::string *>(context)->append(buffer);
    }

} // namespace

std::string schemaErrors(const std::string &uddf)
{
    Doc doc = parse(uddf);
    if (!doc)
        return "not well-formed";
    std::vector<xmlNodePtr> wrappers;
    walk(xmlDocGetRootElement(doc.get()), [&](xmlNodePtr n) {
        if (name(n) == "zorv")
            wrappers.push_back(n);
    });
    for (xmlNodePtr w : wrappers) {
        xmlUnlinkNode(w);
        xmlFreeNode(w);
    }
    static xmlSchemaPtr schema = [] {
        const std::string path = zorv::test::fixture("uddf/uddf_3.2.2.xsd").string();
        xmlSchemaParserCtxtPtr parser = xmlSchemaNewParserCtxt(path.c_str());
        xmlSchemaPtr s = xmlSchemaParse(parser);
        xmlSchemaFreeParserCtxt(parser);
        return s;
    }();
    if (!schema)
        return "schema not loaded";
    std::string errors;
    xmlSchemaValidCtxtPtr valid = xmlSchemaNewValidCtxt(schema);
    xmlSchemaSetValidErrors(valid, collectErrors, collectErrors, &errors);
    const int rc = xmlSchemaValidateDoc(valid, doc.get());
    xmlSchemaFreeValidCtxt(valid);
    if (rc != 0 && errors.empty())
        errors = "invalid";
    return errors.substr(0, 4000);
}

std::string wrapperErrors(const std::string &uddf, bool expectWrapper)
{
    Doc doc = parse(uddf);
    if (!doc)
        return "not well-formed";
    std::set<std::string> errors;
    int dives = 0;
    int wrapped = 0;
    walk(xmlDocGetRootElement(doc.get()), [&](xmlNodePtr n) {
        if (name(n) == "dive")
            ++dives;
        if (name(n) != "zorv")
            return;
        ++wrapped;
        if (!n->parent || name(n->parent) != "applicationdata" || n->parent->parent == nullptr
            || name(n->parent->parent) != "dive" || xmlPreviousElementSibling(n->parent) != nullptr)
            errors.insert("wrapper outside a dive's first applicationdata");
        std::set<std::string_view> seen;
        for (xmlNodePtr c = n->children; c; c = c->next) {
            if (c->type != XML_ELEMENT_NODE)
                continue;
            static const std::set<std::string_view> kKnown = { "logbook", "addtrailer", "register", "record", "extra" };
            if (!c->ns || std::string_view(reinterpret_cast<const char *>(c->ns->href)) != kZorvNamespace)
                errors.insert("element outside our namespace");
            if (!kKnown.contains(name(c)))
                errors.insert("unknown element " + std::string(name(c)));
            seen.insert(name(c));
        }
        if (!seen.contains("record") || !seen.contains("extra"))
            errors.insert("dive without its record");
        if ((wrapped == 1) != seen.contains("logbook"))
            errors.insert("logbook data not on the first dive alone");
    });
    if (expectWrapper && wrapped != dives)
        errors.insert("dives without wrapper");
    if (!expectWrapper && wrapped != 0)
        errors.insert("wrapper in a portable export");
    std::string text;
    for (const std::string &error : errors)
        text += error + "; ";
    return text;
}

std::string linkErrors(const std::string &uddf)
{
    Doc doc = parse(uddf);
    if (!doc)
        return "not well-formed";
    std::set<std::string> ids;
    std::vector<std::string> refs;
    walk(xmlDocGetRootElement(doc.get()), [&](xmlNodePtr n) {
        if (xmlChar *id = xmlGetProp(n, reinterpret_cast<const xmlChar *>("id"))) {
            if (!ids.insert(reinterpret_cast<const char *>(id)).second)
                refs.push_back(std::string("duplicate id ") + reinterpret_cast<const char *>(id));
            xmlFree(id);
        }
        if (name(n) == "link") {
            xmlChar *ref = xmlGetProp(n, reinterpret_cast<const xmlChar *>("ref"));
            refs.push_back(ref ? reinterpret_cast<const char *>(ref) : "");
            xmlFree(ref);
        }
    });
    std::string errors;
    for (const std::string &ref : refs)
        if (!ids.contains(ref))
            errors += "dangling " + ref + "; ";
    return errors;
}

} // namespace zorv::uddf::test
