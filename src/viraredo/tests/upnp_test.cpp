// UPnP port mapping against the fake gateway on loopback, on the fake clock:
// discovery, query, add and delete, every form of description we accept, and
// malformed or missing answers refused.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "bdCore/bdThread/bdPlatformTiming.h"
#include "bdUPnP/bdUPnP.h"
#include "bd_test_support.h"
#include "udp_test_support.h"
#include "upnpGateway.h"

namespace {

using bdtest::g_now;

class UPnP : public bdtest::CoreTest {
 protected:
  void SetUp() override {
    bdtest::CoreTest::SetUp();
    g_now = 1;
    bdPlatformTiming::setClock(bdtest::fakeCounter, bdtest::fakeFrequency);
    ASSERT_TRUE(gateway.start(bdInetAddr::getLoopback()));
    locals_.reset(new bdArray<bdInetAddr>());
    locals_->pushBack(bdInetAddr::fromBytes(192, 168, 7, 7));
    locals_->pushBack(bdInetAddr::getLoopback());
    locals = locals_.get();
  }
  void TearDown() override {
    bdPlatformTiming::setClock(nullptr, nullptr);
    locals_.reset();
    bdtest::CoreTest::TearDown();
  }
  // Pumps both ends on real time until done() or two seconds pass.
  bool pumpUntil(bdUPnP& upnp, const std::function<bool()>& done, UPnPGateway* other = nullptr) {
    for (int i = 0; i < 2000; ++i) {
      gateway.pump();
      if (other != nullptr) other->pump();
      upnp.pump();
      if (done()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
  }
  bool pumpWhile(bdUPnP& upnp, bdUPnP::bdUPnPStatus status, UPnPGateway* other = nullptr) {
    return pumpUntil(
        upnp, [&] { return upnp.getStatus() != status; }, other);
  }
  // Discovery through to READY, with the description read.
  void discover(bdUPnP& upnp, unsigned int descriptions = 1, UPnPGateway* other = nullptr) {
    upnp.setSSDPAddress(gateway.getSSDPAddr());
    upnp.setDiscoveryTime(1);
    upnp.startDiscovery();
    ASSERT_EQ(upnp.getStatus(), bdUPnP::BD_UPNP_DISCOVERING);
    auto descriptionsRead = [&] {
      return gateway.requestCount("GET") + (other ? other->requestCount("GET") : 0) >= descriptions;
    };
    ASSERT_TRUE(pumpUntil(upnp, descriptionsRead, other));
    for (int i = 0; i < 50; ++i) {  // the replies' last bytes and the close
      gateway.pump();
      if (other != nullptr) other->pump();
      upnp.pump();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    g_now += 1000000;
    upnp.pump();
  }
  const std::string& lastRequest() const { return gateway.requestTexts().back(); }

  UPnPGateway gateway;
  // SDK memory: freed before the leak check.
  std::unique_ptr<bdArray<bdInetAddr>> locals_;
  bdArray<bdInetAddr>* locals = nullptr;
};

TEST_F(UPnP, MapsAndUnmapsAPortOnTheGateway) {
  bdUPnP upnp;
  discover(upnp);
  ASSERT_EQ(upnp.getStatus(), bdUPnP::BD_UPNP_READY);
  // Both searches are answered with the same location: one router.
  EXPECT_EQ(upnp.getDeviceCount(), 1u);
  EXPECT_EQ(gateway.requests().size(), 1u);
  char host[32];
  gateway.getHTTPAddr().toString(host, sizeof host);
  EXPECT_EQ(gateway.requestTexts()[0], "GET /rootDesc.xml HTTP/1.1\r\nConnection: close\r\nHost: " +
                                           std::string(host) + "\r\n\r\n");

  upnp.queryMapping(3074, locals);
  ASSERT_EQ(upnp.getStatus(), bdUPnP::BD_UPNP_QUERYING);
  ASSERT_TRUE(pumpWhile(upnp, bdUPnP::BD_UPNP_QUERYING));
  EXPECT_EQ(upnp.getStatus(), bdUPnP::BD_UPNP_READY);  // no mapping yet

  upnp.openPort(3074, bdInetAddr::getLoopback());
  ASSERT_EQ(upnp.getStatus(), bdUPnP::BD_OPENING);
  ASSERT_TRUE(pumpWhile(upnp, bdUPnP::BD_OPENING));
  ASSERT_EQ(upnp.getStatus(), bdUPnP::BD_UPNP_MAPPED);
  EXPECT_TRUE(upnp.isPortMapped(3074));
  EXPECT_EQ(upnp.getMappedPortCount(), 1u);
  ASSERT_EQ(gateway.mappings().count(3074), 1u);
  EXPECT_EQ(gateway.mappings()[3074].client, "127.0.0.1");
  EXPECT_EQ(gateway.mappings()[3074].internalPort, 3074);
  const std::string body =
      "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\" "
      "s:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\">\r\n"
      "<s:Body>\r\n"
      "<u:AddPortMapping xmlns:u=\"urn:schemas-upnp-org:service:WANIPConnection:1\">\r\n"
      "      <NewRemoteHost></NewRemoteHost>\r\n"
      "      <NewExternalPort>3074</NewExternalPort>\r\n"
      "      <NewProtocol>UDP</NewProtocol>\r\n"
      "      <NewInternalPort>3074</NewInternalPort>\r\n"
      "      <NewInternalClient>127.0.0.1</NewInternalClient>\r\n"
      "      <NewEnabled>1</NewEnabled>\r\n"
      "      <NewPortMappingDescription>RezovovozPortMapping</NewPortMappingDescription>\r\n"
      "      <NewLeaseDuration>0</NewLeaseDuration>\r\n"
      "</u:AddPortMapping>\r\n"
      "</s:Body>\r\n"
      "</s:Envelope>\r\n";
  EXPECT_EQ(lastRequest(),
            "POST /upnp/control/WANConnection HTTP/1.1\r\n"
            "HOST: " +
                std::string(host) +
                "\r\n"
                "SOAPACTION: \"urn:schemas-upnp-org:service:WANIPConnection:1#AddPortMapping\"\r\n"
                "CONTENT-TYPE: text/xml; charset=\"utf-8\"\r\n"
                "CONTENT-LENGTH: " +
                std::to_string(body.size()) + "\r\n\r\n" + body);

  upnp.startClosing();
  ASSERT_EQ(upnp.getStatus(), bdUPnP::BD_CLOSING);
  ASSERT_TRUE(pumpWhile(upnp, bdUPnP::BD_CLOSING));
  EXPECT_EQ(upnp.getStatus(), bdUPnP::BD_UPNP_READY);
  EXPECT_TRUE(gateway.mappings().empty());
  EXPECT_EQ(upnp.getMappedPortCount(), 0u);
  EXPECT_EQ(gateway.requestCount("DeletePortMapping"), 1u);
}

TEST_F(UPnP, AnExistingMappingIsTakenWhenOursAndACollisionOtherwise) {
  struct Case {
    const char* owner;
    bdUPnP::bdUPnPStatus status;
  };
  for (const Case& c : {Case{"192.168.7.7", bdUPnP::BD_UPNP_MAPPED},
                        Case{"192.168.7.8", bdUPnP::BD_UPNP_COLLISION}}) {
    SCOPED_TRACE(c.owner);
    gateway.mappings()[3074] = UPnPGateway::Mapping{c.owner, 3074};
    bdUPnP upnp;
    discover(upnp);
    upnp.queryMapping(3074, locals);
    ASSERT_TRUE(pumpWhile(upnp, bdUPnP::BD_UPNP_QUERYING));
    EXPECT_EQ(upnp.getStatus(), c.status);
    EXPECT_EQ(upnp.isPortMapped(3074), c.status == bdUPnP::BD_UPNP_MAPPED);
    EXPECT_EQ(gateway.requestCount("AddPortMapping"), 0u);
  }
  // After a collision the next port is queried, then opened.
  bdUPnP upnp;
  discover(upnp);
  upnp.queryMapping(3074, locals);
  ASSERT_TRUE(pumpWhile(upnp, bdUPnP::BD_UPNP_QUERYING));
  ASSERT_EQ(upnp.getStatus(), bdUPnP::BD_UPNP_COLLISION);
  upnp.openPort(3075, bdInetAddr::getLoopback());
  EXPECT_TRUE(log.saw("bdUPnP is not ready to open ports"));
  EXPECT_EQ(upnp.getStatus(), bdUPnP::BD_UPNP_COLLISION);
  upnp.queryMapping(3075, locals);
  ASSERT_TRUE(pumpWhile(upnp, bdUPnP::BD_UPNP_QUERYING));
  ASSERT_EQ(upnp.getStatus(), bdUPnP::BD_UPNP_READY);
  upnp.openPort(3075, bdInetAddr::getLoopback());
  ASSERT_TRUE(pumpWhile(upnp, bdUPnP::BD_OPENING));
  EXPECT_EQ(upnp.getStatus(), bdUPnP::BD_UPNP_MAPPED);
  EXPECT_EQ(gateway.mappings()[3075].client, "127.0.0.1");
}

TEST_F(UPnP, EveryAcceptedDescriptionFormLeadsToTheControlURL) {
  char host[32];
  gateway.getHTTPAddr().toString(host, sizeof host);
  struct Case {
    bool ppp;
    std::string urlBase;
    std::string controlURL;
    std::string postLine;
  };
  const Case cases[] = {
      {true, "", "/ctl/PPP", "POST /ctl/PPP HTTP/1.1"},
      {false, "<URLBase></URLBase>\r\n", "/ctl/IP", "POST /ctl/IP HTTP/1.1"},
      {false, "<URLBase>http://" + std::string(host) + "/base/</URLBase>\r\n", "/ctl/IP",
       "POST /base/ctl/IP HTTP/1.1"},
      {false, "<URLBase>http://" + std::string(host) + "</URLBase>\r\n", "/ctl/IP",
       "POST /ctl/IP HTTP/1.1"},
      {false, "", "http://" + std::string(host) + "/abs/IP", "POST /abs/IP HTTP/1.1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.postLine + " " + c.urlBase);
    gateway.setPPP(c.ppp);
    gateway.setURLBase(c.urlBase);
    gateway.setControlURL(c.controlURL);
    bdUPnP upnp;
    discover(upnp);
    upnp.openPort(4000, bdInetAddr::getLoopback());
    ASSERT_TRUE(pumpWhile(upnp, bdUPnP::BD_OPENING));
    EXPECT_EQ(upnp.getStatus(), bdUPnP::BD_UPNP_MAPPED);
    EXPECT_EQ(lastRequest().substr(0, c.postLine.size()), c.postLine);
    EXPECT_NE(lastRequest().find(c.ppp ? "WANPPPConnection:1#AddPortMapping"
                                       : "WANIPConnection:1#AddPortMapping"),
              std::string::npos);
    gateway.mappings().clear();
  }
}

TEST_F(UPnP, MalformedAnswersAreRefused) {
  const std::string ok = "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n";
  auto description = [](const std::string& body) { return "HTTP/1.1 200 OK\r\n\r\n" + body; };
  struct Case {
    const char* what;
    std::string ssdp;
    std::string descriptionText;
    std::string action;
    std::string soap;
    const char* logged;
  };
  const Case cases[] = {
      {"no url", "HTTP/1.1 200 OK\r\nLOCATION: ftp://1.2.3.4/x\r\n\r\n", "", "", "",
       "no http:// token found in discovery response"},
      {"no path", "HTTP/1.1 200 OK\r\nLOCATION: http://127.0.0.1:1", "", "", "",
       "No fetch path found after URL"},
      {"no carriage return", "HTTP/1.1 200 OK\r\nLOCATION: http://127.0.0.1:1/desc.xml", "", "", "",
       "No carriage return after fetch location"},
      {"a path with a space", "HTTP/1.1 200 OK\r\nLOCATION: http://127.0.0.1:1/a b\r\n\r\n", "", "",
       "", "Fetch location unusable"},
      {"a host name", "HTTP/1.1 200 OK\r\nLOCATION: http://router.home/desc.xml\r\n\r\n", "", "",
       "", "No router address"},
      {"bad URLBase", "",
       description("<URLBase>ftp://1.2.3.4/</URLBase><serviceType>urn:schemas-upnp-org:service:"
                   "WANIPConnection:1</serviceType><controlURL>/c</controlURL>"),
       "", "", "URLBase does not begin with HTTP://"},
      {"no controlURL", "",
       description("<serviceType>urn:schemas-upnp-org:service:WANIPConnection:1</serviceType>"), "",
       "", nullptr},
      {"empty controlURL", "",
       description("<serviceType>urn:schemas-upnp-org:service:WANIPConnection:1</serviceType>"
                   "<controlURL></controlURL>"),
       "", "", nullptr},
      {"overlong controlURL", "",
       description("<serviceType>urn:schemas-upnp-org:service:WANIPConnection:1</serviceType>"
                   "<controlURL>/" +
                   std::string(300, 'x') + "</controlURL>"),
       "", "", nullptr},
      {"query without client", "", "", "GetSpecificPortMappingEntry", ok + "<NewInternalClient>",
       nullptr},
      {"query with a name for client", "", "", "GetSpecificPortMappingEntry",
       ok + "<NewInternalClient>me.home</NewInternalClient>", nullptr},
      {"add refused", "", "", "AddPortMapping", "HTTP/1.1 500 Internal Server Error\r\n\r\n",
       nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    UPnPGateway router;
    ASSERT_TRUE(router.start(bdInetAddr::getLoopback()));
    router.setSSDPAnswer(c.ssdp);
    router.setDescription(c.descriptionText);
    if (!c.action.empty()) router.setSOAPAnswer(c.action, c.soap);
    log.messages.clear();
    bdUPnP upnp;
    upnp.setSSDPAddress(router.getSSDPAddr());
    upnp.setDiscoveryTime(1);
    upnp.startDiscovery();
    auto step = [&] {
      router.pump();
      upnp.pump();
      return upnp.getStatus() == bdUPnP::BD_UPNP_FAILED;
    };
    bool failed = false;
    for (int i = 0; i < 300 && !failed; ++i) {
      failed = step();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (!failed) {
      g_now += 1000000;
      upnp.pump();
      ASSERT_EQ(upnp.getStatus(), bdUPnP::BD_UPNP_READY);
      if (c.action == "AddPortMapping") {
        upnp.openPort(3074, bdInetAddr::getLoopback());
      } else {
        upnp.queryMapping(3074, locals);
      }
      for (int i = 0; i < 2000 && !failed; ++i) {
        failed = step();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
    }
    EXPECT_TRUE(failed);
    EXPECT_EQ(upnp.getMappedPortCount(), c.action == "AddPortMapping" ? 1u : 0u);
    if (c.logged != nullptr) {
      EXPECT_TRUE(log.saw(c.logged));
    }
  }
}

TEST_F(UPnP, ARouterWithoutAWANServiceIsSkipped) {
  gateway.setDescription(
      "HTTP/1.1 200 OK\r\n\r\n<serviceType>urn:schemas-upnp-org:service:"
      "Layer3Forwarding:1</serviceType><controlURL>/c</controlURL>");
  bdUPnP upnp;
  discover(upnp);
  ASSERT_EQ(upnp.getStatus(), bdUPnP::BD_UPNP_READY);
  upnp.queryMapping(3074, locals);
  for (int i = 0; i < 20; ++i)
    upnp.pump();
  EXPECT_EQ(gateway.requests().size(), 1u);  // the description only
  // Nobody can answer: the phase times out.
  g_now += 10000000;
  upnp.pump();
  EXPECT_EQ(upnp.getStatus(), bdUPnP::BD_UPNP_FAILED);
}

TEST_F(UPnP, APhaseNotDoneInTenSecondsFails) {
  bdUPnP upnp;
  discover(upnp);
  gateway.setSilent(true);
  upnp.openPort(3074, bdInetAddr::getLoopback());
  for (int i = 0; i < 20; ++i)
    upnp.pump();
  g_now += 9999999;
  upnp.pump();
  EXPECT_EQ(upnp.getStatus(), bdUPnP::BD_OPENING);
  g_now += 1;
  upnp.pump();
  EXPECT_EQ(upnp.getStatus(), bdUPnP::BD_UPNP_FAILED);
  // Waiting states do not time out.
  g_now += 60000000;
  upnp.pump();
  EXPECT_EQ(upnp.getStatus(), bdUPnP::BD_UPNP_FAILED);
}

TEST_F(UPnP, DiscoveryOffOrWithoutAnswersFindsNoDevices) {
  bdUPnP off;
  off.setDiscoveryTime(0);
  off.startDiscovery();
  EXPECT_EQ(off.getStatus(), bdUPnP::BD_UPNP_NO_DEVICES);

  UPnPGateway mute;
  ASSERT_TRUE(mute.start(bdInetAddr::getLoopback()));
  bdUPnP upnp;
  upnp.setSSDPAddress(mute.getSSDPAddr());  // never pumped: no answer
  upnp.setDiscoveryTime(2);
  upnp.startDiscovery();
  g_now += 1999999;
  upnp.pump();
  EXPECT_EQ(upnp.getStatus(), bdUPnP::BD_UPNP_DISCOVERING);
  g_now += 1;
  upnp.pump();
  EXPECT_EQ(upnp.getStatus(), bdUPnP::BD_UPNP_NO_DEVICES);
  upnp.queryMapping(3074, locals);
  EXPECT_TRUE(log.saw("bdUPnP is not ready to query mappings"));
}

TEST_F(UPnP, TwoRoutersMapTogetherAndEachPortIsDeletedInTurn) {
  UPnPGateway second;
  ASSERT_TRUE(second.start(bdInetAddr::getLoopback()));
  gateway.alsoAnnounce(second.getHTTPAddr());
  bdUPnP upnp;
  discover(upnp, 2, &second);
  ASSERT_EQ(upnp.getDeviceCount(), 2u);

  // The first add is refused: the port stays listed, so closing removes it.
  gateway.setSOAPAnswer("AddPortMapping", "HTTP/1.1 500 Internal Server Error\r\n\r\n");
  upnp.openPort(3074, bdInetAddr::getLoopback());
  ASSERT_TRUE(pumpWhile(upnp, bdUPnP::BD_OPENING, &second));
  ASSERT_EQ(upnp.getStatus(), bdUPnP::BD_UPNP_FAILED);
  gateway.setSOAPAnswer("AddPortMapping", "");
  for (int i = 0; i < 50; ++i) {  // let the second router's answer drain
    gateway.pump();
    second.pump();
    upnp.pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  gateway.mappings()[3074] = UPnPGateway::Mapping{"127.0.0.1", 3074};

  // MAPPED only once both routers have answered.
  second.setSilent(true);
  upnp.openPort(3075, bdInetAddr::getLoopback());
  ASSERT_TRUE(pumpUntil(
      upnp, [&] { return gateway.mappings().count(3075) == 1; }, &second));
  for (int i = 0; i < 50; ++i) {
    gateway.pump();
    upnp.pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(upnp.getStatus(), bdUPnP::BD_OPENING);
  second.setSilent(false);
  ASSERT_TRUE(pumpWhile(upnp, bdUPnP::BD_OPENING, &second));
  ASSERT_EQ(upnp.getStatus(), bdUPnP::BD_UPNP_MAPPED);
  EXPECT_EQ(upnp.getMappedPortCount(), 2u);

  upnp.startClosing();
  ASSERT_TRUE(pumpWhile(upnp, bdUPnP::BD_CLOSING, &second));
  EXPECT_EQ(upnp.getStatus(), bdUPnP::BD_UPNP_READY);
  EXPECT_TRUE(gateway.mappings().empty());
  EXPECT_TRUE(second.mappings().empty());
  // One delete per router for each port, the first port's before the second's.
  for (UPnPGateway* router : {&gateway, &second}) {
    std::vector<std::string> deletes;
    for (const std::string& text : router->requestTexts()) {
      if (text.find("#DeletePortMapping") != std::string::npos)
        deletes.push_back(text.substr(text.find("<NewExternalPort>") + 17, 4));
    }
    EXPECT_EQ(deletes, (std::vector<std::string>{"3074", "3075"}));
  }
}

}  // namespace
