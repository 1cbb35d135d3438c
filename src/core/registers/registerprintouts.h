// The printed lists of the registers, built from their records for drawListPage.
#pragma once

#include "registers/addresses.h"
#include "registers/certificates.h"
#include "registers/equipment.h"
#include "registers/instructorrecord.h"
#include "registers/listprintout.h"
#include "registers/trips.h"

#include <string>
#include <vector>

namespace zorv::registers {

// Category, article, user, serial number, next service, price; price and service totals below.
ListPrintout equipmentPrintout(
    const std::vector<EquipmentItem> &items, int month, int year, const std::string &currency);
// Name, address, telephone, e-mail.
ListPrintout addressPrintout(const std::vector<Address> &addresses);
// Dates, destination, dives.
ListPrintout tripPrintout(const std::vector<Trip> &trips);
// Dates, activity, hours and persons, with the hour totals.
ListPrintout teachingPrintout(const std::vector<TeachingActivity> &records);
// Diver and club on top; category, date, description, instructor, cost, with the cost total.
ListPrintout certificatePrintout(const CertificateRegister &reg, const std::string &currency);

} // namespace zorv::registers
