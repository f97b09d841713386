// The main window's construction, start-up, command table and housekeeping.
#include "DictionaryDlg.h"

#include "Messages.h"
#include "SecondaryDialogs.h"

namespace {
const CommandEntry<CDictionaryDlg> kCommands[] = {
    {ID_VERSION_INFO, BN_CLICKED, &CDictionaryDlg::OnAppAbout},
    {IDC_OPEN_DICT, BN_CLICKED, &CDictionaryDlg::OnOpenDictionary},
    {ID_DICT_NEW, BN_CLICKED, &CDictionaryDlg::OnNewDictionary},
    {ID_WORD_ADD, BN_CLICKED, &CDictionaryDlg::OnAddWord},
    {IDC_WORD_LIST, LBN_SELCHANGE, &CDictionaryDlg::OnSelchangeWordList},
    {IDC_SEARCH, BN_CLICKED, &CDictionaryDlg::RefreshWordList},
    {ID_WORD_DELETE, BN_CLICKED, &CDictionaryDlg::OnDeleteWord},
    {ID_FILE_SAVE, BN_CLICKED, &CDictionaryDlg::ConfirmAndSave},
    {ID_FILE_SAVE_AS, BN_CLICKED, &CDictionaryDlg::OnFileSaveAs},
    {ID_SETTINGS, BN_CLICKED, &CDictionaryDlg::OnSettings},
    {ID_WORD_MODIFY, BN_CLICKED, &CDictionaryDlg::OnModifyWord},
    {ID_EDIT_UNDO, BN_CLICKED, &CDictionaryDlg::OnUndo},
    {ID_EDIT_REDO, BN_CLICKED, &CDictionaryDlg::OnRedo},
    {ID_SEARCH_FOLD, BN_CLICKED, &CDictionaryDlg::OnSearchFold},
    {ID_SEARCH_MEANINGS, BN_CLICKED, &CDictionaryDlg::OnSearchMeanings},
    {ID_FILE_RESTORE, BN_CLICKED, &CDictionaryDlg::OnRestore},
};
}  // namespace

CDictionaryDlg::CDictionaryDlg(CWnd* parent)
    : CDialog(IDD_VOKARI_DIALOG, parent),
      m_strDictLabel(U8(msg::kNotLoaded)),
      m_hIcon(AfxFindIcon(IDR_MAINFRAME)) {}

bool CDictionaryDlg::OnCmdMsg(UINT id, UINT code) {
  return RouteCommand<CDictionaryDlg>(this, kCommands, id, code) || CDialog::OnCmdMsg(id, code);
}

void CDictionaryDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_WORD_LIST, m_listWords);
  DDX_Text(pDX, IDC_DICT_LABEL, m_strDictLabel);
  // The shown entry is never stored from its panes, so what is typed there cannot block.
  DDX_ShownText(pDX, IDC_SHOWN_WORD, m_strShownWord);
  DDX_ShownText(pDX, IDC_SHOWN_MEANING, m_strShownMeaning);
  DDX_Text(pDX, IDC_SEARCH_TEXT, m_strSearch);
  DDX_Text(pDX, IDC_COUNT_LABEL, m_strCountLabel);
}

BOOL CDictionaryDlg::OnInitDialog() {
  CDialog::OnInitDialog();

  if (CMenu* sysMenu = GetSystemMenu()) {
    CString about;
    about.LoadString(IDS_ABOUTBOX);
    if (!about.IsEmpty()) {
      sysMenu->AppendMenu(MF_SEPARATOR);
      sysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, about);
    }
  }
  SetIcon(m_hIcon);
  DragAcceptFiles(TRUE, ".vkd");

  LoadSettings();
  UpdateMenuState();
  ShowSearchOptions();
  return TRUE;
}

// The dictionary is read once the window is on screen, so that the window never waits for a
// large file and every notice of the reopening appears over it.
void CDictionaryDlg::OnFirstShown() {
  ReopenAtStart();
}

void CDictionaryDlg::UpdateMenuState() {
  CMenu* menu = GetMenu();
  if (!menu) return;
  menu->EnableMenuItem(ID_WORD_ADD, m_dict.m_strName.IsEmpty() ? MF_GRAYED : MF_ENABLED);
  const UINT entryState = HasLiveCurrent() ? MF_ENABLED : MF_GRAYED;
  menu->EnableMenuItem(ID_WORD_DELETE, entryState);
  menu->EnableMenuItem(ID_WORD_MODIFY, entryState);
  // Only a dictionary with a file of its own has earlier versions.
  menu->EnableMenuItem(ID_FILE_RESTORE, m_dict.m_strPath.IsEmpty() ? MF_GRAYED : MF_ENABLED);
  UpdateUndoItems();
}

void CDictionaryDlg::OnSysCommand(UINT nID) {
  if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
    CAboutDlg about;
    about.DoModal();
    return;
  }
  CDialog::OnSysCommand(nID);
}

void CDictionaryDlg::OnAppAbout() {
  CAboutDlg about;
  about.DoModal();
}

void CDictionaryDlg::OnDestroy() {
  WinHelp(HELP_QUIT);
  CDialog::OnDestroy();
}

// Minimized, the window shows the application icon in the middle of its client area.
void CDictionaryDlg::OnPaint() {
  if (!IsIconic()) return;
  const int cxIcon = GetSystemMetrics(SM_CXICON);
  const int cyIcon = GetSystemMetrics(SM_CYICON);
  CRect rect;
  GetClientRect(&rect);
  DrawIcon((rect.Width() - cxIcon + 1) / 2, (rect.Height() - cyIcon + 1) / 2, m_hIcon);
}

// Every way of closing (閉じる, Escape, the close box, File ▸ 終了) comes here.
void CDictionaryDlg::OnCancel() {
  if (MayDropChanges()) CDialog::OnCancel();
}

HICON CDictionaryDlg::OnQueryDragIcon() {
  return m_hIcon;
}

// No entry is current, and the panes show none.
void CDictionaryDlg::ForgetCurrent() {
  m_dict.m_nCurrent = -1;
  m_strShownWord.Empty();
  m_strShownMeaning.Empty();
}

void CDictionaryDlg::ShowCount() {
  m_strCountLabel.Format(U8(msg::kCountLabel), m_dict.m_nCount);
}
