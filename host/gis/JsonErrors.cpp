#include "host/gis/JsonErrors.h"

#include <new>

namespace tov {

void ThrowJsonError(std::exception_ptr failure, const JsonRefusal& refusal) {
  try {
    std::rethrow_exception(failure);
  } catch (const HostError&) {
    throw;
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception& e) {
    throw refusal(e.what());
  }
}

} // namespace tov
