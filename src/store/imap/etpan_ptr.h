#pragma once

// Owners for what libetpan hands out: each freed by its own function.

#include <libetpan/libetpan.h>

#include <memory>

namespace zandor::imap {

template <auto Free>
struct EtpanFree {
  template <class T>
  void operator()(T* object) const {
    if (object != nullptr) Free(object);
  }
};

using SetPtr = std::unique_ptr<mailimap_set, EtpanFree<mailimap_set_free>>;
using FetchTypePtr = std::unique_ptr<mailimap_fetch_type, EtpanFree<mailimap_fetch_type_free>>;
using FetchListPtr = std::unique_ptr<clist, EtpanFree<mailimap_fetch_list_free>>;
using SearchKeyPtr = std::unique_ptr<mailimap_search_key, EtpanFree<mailimap_search_key_free>>;
using SearchResultPtr = std::unique_ptr<clist, EtpanFree<mailimap_search_result_free>>;
using ListResultPtr = std::unique_ptr<clist, EtpanFree<mailimap_list_result_free>>;
using FlagListPtr = std::unique_ptr<mailimap_flag_list, EtpanFree<mailimap_flag_list_free>>;
using StoreAttPtr =
    std::unique_ptr<mailimap_store_att_flags, EtpanFree<mailimap_store_att_flags_free>>;
using DateTimePtr = std::unique_ptr<mailimap_date_time, EtpanFree<mailimap_date_time_free>>;

}  // namespace zandor::imap
