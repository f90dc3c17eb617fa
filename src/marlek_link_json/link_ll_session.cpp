#include "marlek_link_json/link_ll_session.hpp"

#include "marlek_link_json/link_ll_session_impl.hpp"

ConnectOutcome::ConnectOutcome(std::promise<MarlekLinkServiceStatusEnum>&& promise)
    : promise(std::move(promise))
{
}

ConnectOutcome::ConnectOutcome(ConnectOutcome&& other) noexcept
    : promise(std::move(other.promise)), delivered(other.delivered)
{
    other.delivered = true;
}

ConnectOutcome::~ConnectOutcome()
{
    if (!delivered) {
        set(MarlekLinkServiceStatusEnum::CONNECT_FAILED);
    }
}

void ConnectOutcome::set(MarlekLinkServiceStatusEnum outcome)
{
    if (!delivered) {
        delivered = true;
        promise.set_value(outcome);
    }
}

template class LinkLlSession<LinkLlPlainStream>;
