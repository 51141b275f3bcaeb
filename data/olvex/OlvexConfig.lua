-- The online toolbox's configuration, run once when online play starts.
-- Paths are relative to the program folder.

-- Files the toolbox core requires (each must be a non-empty string).
MATCHMAKING_DEFAULT_PAGE_NAME = "Tessarin"
CONFIG_FILE = "./Data/Olvex/LocalPlayers.dat"
CRCS_FILE = "./Data/Olvex/Crcs.dat"
FAT_FILE = "./Data/Olvex/Fat.dat"
MATCHMAKING_DEFAULT_FILE = "./Data/Olvex/Definitions.dat"
PAGE_LOGIC_SCRIPT_PATH = "./Data/Olvex/PageLogic.lua"
LOCAL_PLAYERS_CACHE_FILE = "./Data/Olvex/LocalPlayersCache.dat"

-- Seconds before a queued operation gives up.
TASK_TIMEOUT = 10
-- Seconds of silence after which a peer of a session is dropped.
TIMEOUT_THRESHOLD = 10
-- Session heartbeats sent per second.
HEARTBEAT_PER_SEC = 3

-- The last matchmaking choices, kept between runs.
Auto_Load_Match_Params = true
Auto_Save_Match_Params = true
Match_Params_File = "./Data/Olvex/MatchParams.dat"

-- The online service's servers, each "host:port". The configuration server's
-- answer may replace any of them, and the signing key, at start-up.
AuthenticationServer = { "auth.tessarin.invalid:20800" }
DWauthenticationURL = "auth.tessarin.invalid:20800"
LobbyServer = { "lobby.tessarin.invalid:20810" }
DWlobbyURL = "lobby.tessarin.invalid:20810"
-- The authentication servers' public signing key; empty until a deployed
-- service provides one.
NorvSigKeyPub = ""
